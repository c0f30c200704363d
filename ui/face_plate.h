#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <future>

namespace panel {

// The face-plate picture, stretched (not proportionally) into its rectangle.
// Only the picture at the widget's size in device pixels is kept, not the much larger original.
// At a device pixel ratio of 1 the window's own size comes ready made (assets/faceplate-313x337.png, made
// with stretchedPicture() below), small and quick to decode; any other size or ratio is stretched from the
// original.
class FacePlate : public QWidget
{
    Q_OBJECT
public:
    explicit FacePlate(QWidget *parent = nullptr);
    ~FacePlate() override;

    // The picture as drawn now: the widget's size times its device pixel ratio.
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage pictureAt(qreal ratio);
    QImage decoded(bool original); // the ready-made picture or the original

    std::future<QImage> m_decoding; // the picture the first paint will need, decoded meanwhile
    bool m_decodingOriginal = false; // rather than the ready-made one
    QImage m_picture;
};

// The size in device pixels of a picture drawn over `size` at `ratio`.
inline QSize devicePixels(const QSize &size, qreal ratio)
{
    return QSize(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
}

// `original` stretched over `size` at `ratio`, as the face plate is drawn. assets/make-images.sh makes the
// ready-made picture with this same function, so both ways give the same pixels.
inline QImage stretchedPicture(const QImage &original, const QSize &size, qreal ratio)
{
    // Drawn as the original would be drawn straight onto the window, so it looks the same.
    QImage picture(devicePixels(size, ratio), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter scaler(&picture);
    scaler.setRenderHint(QPainter::SmoothPixmapTransform);
    scaler.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), original);
    return picture;
}

// A flat shape drawn over the picture: the programming-header marker or the line to its caption.
class Drawing : public QWidget
{
    Q_OBJECT
public:
    enum Kind { Outline, Filled };
    Drawing(Kind kind, const QColor &colour, int penWidth, QWidget *parent = nullptr);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_colour;
    int m_penWidth;
};

} // namespace panel
