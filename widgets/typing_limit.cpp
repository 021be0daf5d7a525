#include "widgets/typing_limit.h"

#include "platform/handler_guard.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// QLineEdit's own maximum length would cut text set from code; a validator
// judges the user's edits only, as an edit set from code clears the edit's
// modified state before it is judged. An edit of the user's is refused when
// it makes the text longer than both the limit and the text it replaces.
class TypingLimitValidator : public QValidator
{
public:
    TypingLimitValidator(QLineEdit *edit, int limit)
        : QValidator(edit), edit_(edit), limit_(limit), accepted_(edit->text().size())
    {
        ConnectHandler(edit, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text.size(); });
    }

    State validate(QString &input, int &) const override
    {
        if (!edit_->isModified())
            return Acceptable;
        return input.size() <= limit_ || input.size() <= accepted_ ? Acceptable : Invalid;
    }

private:
    const QLineEdit *edit_;
    const qsizetype limit_;
    qsizetype accepted_; // length of the text before the edit being judged
};

} // namespace

void SetTypingLimit(QLineEdit *edit, int limit)
{
    edit->setValidator(new TypingLimitValidator(edit, limit));
}
