#pragma once

#include <QPlainTextEdit>

namespace panel {

// The status box of the serial operations: a read-only text on a coloured background.
class StatusBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit StatusBox(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }
    quint32 colour() const { return m_colour; }
    void setColour(quint32 bgr);

private:
    quint32 m_colour = 0xFFFFFF;
};

QColor colourFromBgr(quint32 bgr);

} // namespace panel
