#pragma once

#include <QPlainTextEdit>

namespace panel {

// The status box of the serial operations: a read-only text on a coloured background. A text too long
// for the box at its font is shown in a smaller one, so that every line stays readable without scrolling.
class StatusBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit StatusBox(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text);
    quint32 colour() const { return m_colour; }
    void setColour(quint32 bgr);
    // The font of a text that fits; smaller ones are used only for longer texts.
    void setBaseFont(const QFont &font);

private:
    void fitText();

    quint32 m_colour = 0xFFFFFF;
    QFont m_baseFont;
};

QColor colourFromBgr(quint32 bgr);

} // namespace panel
