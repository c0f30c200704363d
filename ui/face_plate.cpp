#include "ui/face_plate.h"

#include <QImageReader>
#include <QPainter>
#include <cmath>

namespace panel {

namespace {

QImage decodeFacePlate()
{
    // Naming the format keeps the image plug-ins from being loaded to guess it.
    QImageReader reader(QStringLiteral(":/images/faceplate.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

FacePlate::FacePlate(QWidget *parent)
    : QWidget(parent)
    // Decoding takes as long as building the rest of the window, so it runs meanwhile on another thread.
    , m_decoding(std::async(std::launch::async | std::launch::deferred, decodeFacePlate))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

FacePlate::~FacePlate() = default;

QImage FacePlate::original()
{
    return m_decoding.valid() ? m_decoding.get() : decodeFacePlate();
}

void FacePlate::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatio();
    const QSize device(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)));
    if (m_picture.size() != device || m_picture.devicePixelRatio() != ratio) {
        // Drawn as the original would be drawn straight onto the window, so it looks the same.
        m_picture = QImage(device, QImage::Format_ARGB32_Premultiplied);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::transparent);
        QPainter scaler(&m_picture);
        scaler.setRenderHint(QPainter::SmoothPixmapTransform);
        scaler.drawImage(QRectF(rect()), original());
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
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
