#include "ui/face_plate.h"

#include <QPainter>

namespace panel {

FacePlate::FacePlate(QWidget *parent)
    : QWidget(parent)
    , m_picture(QStringLiteral(":/images/faceplate.png"))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FacePlate::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}

Drawing::Drawing(Kind kind, const QColor &colour, int penWidth, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
    , m_colour(colour)
    , m_penWidth(penWidth)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Drawing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_kind == Filled) {
        painter.fillRect(rect(), m_colour);
        return;
    }
    QPen pen(m_colour, m_penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const int inset = m_penWidth / 2;
    painter.drawRect(rect().adjusted(inset, inset, -inset - (m_penWidth % 2), -inset - (m_penWidth % 2)));
}

} // namespace panel
