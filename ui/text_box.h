#pragma once

#include <QLineEdit>

namespace panel {

// A single-line box for a name that must survive a save and an open: it refuses, when typed or
// pasted, a double quote, a line break or a character the file's code page cannot hold. Its length
// limit applies to typing only: a longer text set by the program is shown whole.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    TextBox(int typingLimit, QWidget *parent = nullptr);

    void setTextFromProgram(const QString &text);

protected:
    // Ctrl+Z and Ctrl+Shift+Z are the window's: they undo and redo the whole configuration.
    bool event(QEvent *event) override;

private:
    void fitLimitToText();

    int m_typingLimit;
};

} // namespace panel
