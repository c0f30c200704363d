#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <future>

namespace panel {

// The face-plate picture, stretched (not proportionally) into its rectangle.
// Only the picture at the widget's size in device pixels is kept, not the much larger original.
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
    QImage original();

    std::future<QImage> m_decoding;
    QImage m_picture;
};

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
