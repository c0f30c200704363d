#include "ui/text_box.h"

#include "file/windows1252.h"

#include <QValidator>

namespace panel {

namespace {

class StorableTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return isStorableText(input) ? Acceptable : Invalid;
    }
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

// Shortening a long text from a file lowers the limit with it, down to the typing limit.
void TextBox::fitLimitToText()
{
    setMaxLength(qMax(m_typingLimit, int(text().size())));
}

} // namespace panel
