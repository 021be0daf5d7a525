#include "dialogs/rom_info_dialog.h"

#include "catalogue/header_names.h"
#include "platform/handler_guard.h"
#include "platform/windows1252.h"
#include "settings/program_values.h"
#include "widgets/artwork.h"
#include "widgets/caption_button.h"
#include "widgets/program_font.h"
#include "widgets/typing_limit.h"
#include "widgets/window_decoration.h"
#include "widgets/yellow_label.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *InfoEdit(int top, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(156, top, 313, 24);
    edit->setFont(ProgramFont(13));
    edit->setReadOnly(true);
    edit->setStyleSheet(QStringLiteral("QLineEdit { background: #808080; color: #000000; }"));
    SetTypingLimit(edit, 48);
    return edit;
}

} // namespace

Tforminfo::Tforminfo(QWidget *parent) : BorderlessDialog(QStringLiteral("ROM info"), 478, 180, parent)
{
    Background1 = AddTiledBackground(this, DialogTile(devicePixelRatioF()));
    MakeYellowLabel(QStringLiteral("Sorry No Editing in this version"), QRect(156, 4, 182, 16), 13, this);
    editfilename = InfoEdit(20, this);
    editengname = InfoEdit(64, this);
    editjapname = InfoEdit(104, this);
    // Each label is its box's buddy, which names the box to screen readers.
    MakeYellowLabel(QStringLiteral("File Name"), QRect(16, 20, 89, 24), 19, this)->setBuddy(editfilename);
    MakeYellowLabel(QStringLiteral("English name"), QRect(12, 64, 118, 24), 19, this)->setBuddy(editengname);
    MakeYellowLabel(QStringLiteral("Japanese name"), QRect(12, 104, 137, 24), 19, this)->setBuddy(editjapname);
    butok = MakeCaptionButton(QStringLiteral("OK"), this);
    butok->setGeometry(172, 148, 69, 25);
    butexit = MakeCaptionButton(QStringLiteral("Cancel"), this);
    butexit->setGeometry(248, 148, 69, 25);

    setTabOrder(editengname, editjapname);
    setTabOrder(editjapname, editfilename);
    setTabOrder(editfilename, butok);
    setTabOrder(butok, butexit);

    ConnectHandler(butok, &QPushButton::clicked, this, &Tforminfo::butokClick);
    ConnectHandler(butexit, &QPushButton::clicked, this, &Tforminfo::butexitClick);
}

void Tforminfo::showEvent(QShowEvent *event)
{
    RunHandler([&] {
        BorderlessDialog::showEvent(event);
        editengname->setFocus();
    });
}

void Tforminfo::FormActivate()
{
    // Shown from their start, as an edit box shows text put into it.
    editfilename->setText(InfoFileName);
    editfilename->setCursorPosition(0);
    editengname->setText(DecodeWindows1252(HeaderName));
    editengname->setCursorPosition(0);
}

void Tforminfo::butokClick()
{
    reject();
}

void Tforminfo::butexitClick()
{
    reject();
}
