#include "ui/face_plate.h"

#include <QImageReader>

namespace panel {

namespace {

const char *const kOriginal = ":/images/faceplate.png";
const char *const kStretched = ":/images/faceplate-313x337.png";

// Naming the format keeps the image plug-ins from being loaded to guess it.
class PngReader : public QImageReader
{
public:
    explicit PngReader(const char *name)
        : QImageReader(QString::fromLatin1(name), "png")
    {
        setAutoDetectImageFormat(false);
    }
};

QImage decodeOriginal() { return PngReader(kOriginal).read(); }

} // namespace

FacePlate::FacePlate(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Decoding the original takes as long as building the rest of the window, so where it will be needed it
    // runs meanwhile on another thread.
    if (devicePixelRatio() != 1)
        m_original = std::async(std::launch::async | std::launch::deferred, decodeOriginal);
}

FacePlate::~FacePlate() = default;

QImage FacePlate::pictureAt(qreal ratio)
{
    if (ratio == 1) {
        PngReader ready(kStretched);
        if (ready.size() == size())
            return ready.read();
    }
    return stretchedPicture(m_original.valid() ? m_original.get() : decodeOriginal(), size(), ratio);
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
