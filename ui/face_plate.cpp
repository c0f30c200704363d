#include "ui/face_plate.h"

#include <QImageReader>

namespace panel {

namespace {

QImage decode(bool original)
{
    QImageReader reader(original ? QStringLiteral(":/images/faceplate.png")
                                 : QStringLiteral(":/images/faceplate-313x337.png"),
                        "png");
    reader.setAutoDetectImageFormat(false); // naming the format keeps the image plug-ins from being loaded to guess it
    return reader.read();
}

} // namespace

FacePlate::FacePlate(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Decoding a picture takes as long as building several controls, so the one the first paint will need
    // is decoded meanwhile on another thread.
    m_decodingOriginal = devicePixelRatio() != 1;
    m_decoding = std::async(std::launch::async | std::launch::deferred, decode, m_decodingOriginal);
}

FacePlate::~FacePlate() = default;

QImage FacePlate::decoded(bool original)
{
    if (m_decoding.valid() && m_decodingOriginal == original)
        return m_decoding.get();
    return decode(original);
}

QImage FacePlate::pictureAt(qreal ratio)
{
    if (ratio == 1) {
        QImage ready = decoded(false);
        if (ready.size() == size())
            return ready;
    }
    return stretchedPicture(decoded(true), size(), ratio);
}

void FacePlate::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatio();
    if (m_picture.size() != devicePixels(size(), ratio) || m_picture.devicePixelRatio() != ratio)
        m_picture = pictureAt(ratio);
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
