#pragma once

#include <QPushButton>

namespace panel {

// A command button whose long caption wraps over several centred lines.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CaptionButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace panel
