#include "ui/status_box.h"

#include "ui/text_fit.h"

#include <QTextDocument>

namespace panel {

namespace {

// A status text stays readable at this size at the least, a pixel above the captions' smallest.
constexpr int kSmallestPixelSize = 8;

int heightOf(const QString &text, const QFont &font, int width, qreal margin)
{
    QTextDocument document;
    document.setDefaultFont(font);
    document.setDocumentMargin(margin);
    document.setPlainText(text);
    document.setTextWidth(width);
    return qCeil(document.size().height());
}

} // namespace

QColor colourFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

StatusBox::StatusBox(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_baseFont(font())
{
    setReadOnly(true);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(1);
    setColour(m_colour);
}

// QPlainTextEdit itself tells the accessibility bus of the text removed and inserted.
void StatusBox::setText(const QString &text)
{
    setPlainText(text);
    fitText();
}

void StatusBox::setBaseFont(const QFont &font)
{
    m_baseFont = font;
    fitText();
}

void StatusBox::fitText()
{
    if (toPlainText().isEmpty()) {
        setFont(m_baseFont); // nothing to fit
        return;
    }
    const QRect box = contentsRect();
    const qreal margin = document()->documentMargin();
    setFont(shrunkToFit(m_baseFont, kSmallestPixelSize, [&](const QFont &font) {
        return heightOf(toPlainText(), font, box.width(), margin) <= box.height();
    }));
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
