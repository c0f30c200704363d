#pragma once

#include <QPushButton>

namespace panel {

// A command button whose long caption wraps over centred lines, at most two as the layout has them; drawn
// smaller where the font at hand would not fit it so.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap;
    static constexpr int kCaptionLines = 2;
    // Where the caption is drawn, and in which font: the button's own, or a smaller size of it.
    QRect captionRect() const;
    QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace panel
