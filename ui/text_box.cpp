#include "ui/text_box.h"

#include "file/windows1252.h"
#include "ui/undo_keys.h"

#include <QKeyEvent>
#include <QValidator>

namespace panel {

namespace {

int unstorableCount(const QString &text)
{
    int count = 0;
    for (const QChar c : text)
        count += isStorableText(QStringView(&c, 1)) ? 0 : 1;
    return count;
}

// Refuses an edit that adds a character the file cannot hold. A text set by the program that
// already holds some (an unquoted field of a hand-made file) can still be edited and mended.
class StorableTextValidator : public QValidator
{
public:
    explicit StorableTextValidator(QLineEdit *box)
        : QValidator(box)
    {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString &text) { m_unstorable = unstorableCount(text); });
    }

    State validate(QString &input, int &) const override
    {
        if (isStorableText(input))
            return Acceptable;
        return unstorableCount(input) <= m_unstorable ? Intermediate : Invalid;
    }

private:
    int m_unstorable = 0; // in the box's current text
};

} // namespace

TextBox::TextBox(int typingLimit, QWidget *parent)
    : QLineEdit(parent)
    , m_typingLimit(typingLimit)
{
    setMaxLength(typingLimit);
    setValidator(new StorableTextValidator(this));
    connect(this, &QLineEdit::textEdited, this, &TextBox::fitLimitToText);
}

void TextBox::setTextFromProgram(const QString &text)
{
    setMaxLength(qMax(m_typingLimit, int(text.size())));
    setText(text);
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        if (isUndoOrRedo(*static_cast<QKeyEvent *>(event))) {
            event->ignore();
            return false;
        }
    }
    return QLineEdit::event(event);
}

// Shortening a long text from a file lowers the limit with it, down to the typing limit.
void TextBox::fitLimitToText()
{
    setMaxLength(qMax(m_typingLimit, int(text().size())));
}

} // namespace panel
