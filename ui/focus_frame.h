#pragma once

#include <QPointer>
#include <QWidget>

namespace panel {

// The keyboard focus drawn plainly: a frame two pixels wide in the palette's highlight colour, laid over
// whichever control of the window has the focus. It is a layer of its own, so no control changes its
// size, text or painting, and it lets every click through.
class FocusFrame : public QWidget
{
    Q_OBJECT
public:
    explicit FocusFrame(QWidget *window);

    static constexpr int kWidth = 2;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(QWidget *focused);

    QPointer<QWidget> m_control;
};

} // namespace panel
