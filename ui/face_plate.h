#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace panel {

// The face-plate picture, stretched (not proportionally) into its rectangle.
class FacePlate : public QWidget
{
    Q_OBJECT
public:
    explicit FacePlate(QWidget *parent = nullptr);
    const QPixmap &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
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
