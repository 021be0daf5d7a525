#include "widgets/caption_button.h"

#include "platform/handler_guard.h"
#include "widgets/program_font.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

// Qt presses a button on Enter only when it may become the dialog's default,
// and a default button would also take the Enter typed in an edit.
class CaptionButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        RunHandler([&] {
            const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
            if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
                click();
            else
                QPushButton::keyPressEvent(event);
        });
    }
};

} // namespace

QPushButton *MakeCaptionButton(const QString &caption, QWidget *parent)
{
    auto *button = new CaptionButton(caption, parent);
    button->setFont(ProgramFont(11, true));
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: #ffff00; background: transparent; border: 1px solid rgba(255, 230, 0, 120);"
        " border-radius: 3px; }"
        "QPushButton:hover { background: rgba(255, 230, 0, 40); }"
        "QPushButton:focus { border-color: #ffff00; }"
        "QPushButton:pressed { background: rgba(0, 0, 0, 110); padding-top: 2px; }"));
    button->setAutoDefault(false);
    return button;
}
