#pragma once

#include "ui/rule_control.h"

#include <QCheckBox>

namespace panel {

// The independent-lighting box: its rule runs when the user toggles it. The caption wraps like the
// panel's labels, and is drawn smaller where the font at hand would not fit it.
class RuleCheckBox : public QCheckBox, public RuleControl
{
    Q_OBJECT
public:
    explicit RuleCheckBox(const QString &text, QWidget *parent = nullptr);

    int state() const { return isChecked() ? 1 : 0; }
    // Ticks or unticks the box and runs nothing: it shows a state chosen in the editor.
    void showState(int state) { setChecked(state != 0); }

    static constexpr int kCaptionFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    // Where the caption is drawn, beside the box, and in which font: the box's own, or a smaller size of it.
    QRect captionRect() const;
    QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};

} // namespace panel
