#include "ui/focus_frame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace panel {

FocusFrame::FocusFrame(QWidget *window)
    : QWidget(window)
{
    setObjectName(QStringLiteral("focusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { follow(now); });
}

// Over the focused control when it is one of this window's and shown; nowhere otherwise.
void FocusFrame::follow(QWidget *focused)
{
    if (m_control)
        m_control->removeEventFilter(this);
    QWidget *window = parentWidget();
    const bool ours = focused && focused != window && window->isAncestorOf(focused) && focused->isVisible();
    m_control = ours ? focused : nullptr;
    if (!m_control) {
        hide();
        return;
    }
    m_control->installEventFilter(this); // a control hidden or moved takes its frame with it
    setGeometry(QRect(m_control->mapTo(window, QPoint(0, 0)), m_control->size()));
    raise();
    show();
    update();
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_control) {
        switch (event->type()) {
        case QEvent::Hide:
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            follow(m_control->isVisible() ? m_control.data() : nullptr);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const QRect inside = rect();
    painter.fillRect(inside.x(), inside.y(), inside.width(), kWidth, colour);
    painter.fillRect(inside.x(), inside.bottom() - kWidth + 1, inside.width(), kWidth, colour);
    painter.fillRect(inside.x(), inside.y(), kWidth, inside.height(), colour);
    painter.fillRect(inside.right() - kWidth + 1, inside.y(), kWidth, inside.height(), colour);
}

} // namespace panel
