#include "ui/status_box.h"

namespace panel {

QColor colourFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

StatusBox::StatusBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(1);
    setColour(m_colour);
}

void StatusBox::setColour(quint32 bgr)
{
    m_colour = bgr;
    QPalette p = palette();
    p.setColor(QPalette::Base, colourFromBgr(bgr));
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

} // namespace panel
