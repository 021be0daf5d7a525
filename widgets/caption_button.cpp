#include "widgets/caption_button.h"

#include "widgets/program_font.h"

#include <QPushButton>

QPushButton *MakeCaptionButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
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
