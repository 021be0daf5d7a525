#include "dialogs/locations_dialog.h"

#include "platform/handler_guard.h"
#include "settings/program_values.h"
#include "widgets/artwork.h"
#include "widgets/caption_button.h"
#include "widgets/path_edit.h"
#include "widgets/program_font.h"
#include "widgets/window_decoration.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <utility>

namespace {

constexpr int kLabelLeft = 12;
constexpr int kLabelWidth = 160;
constexpr int kEditLeft = 176;
constexpr int kEditWidth = 241;
constexpr int kRowHeight = 21;

// A location's row: its caption, and its edit with the browse button, both
// named by the caption for screen readers (the label lies outside the edit's
// box, where a buddy would not name it).
PathEdit *LocationRow(const QString &caption, PathEdit::Kind kind, const QString &filters, int top, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ProgramFont(16, true));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: yellow; background: transparent;"));
    label->setGeometry(kLabelLeft, top, kLabelWidth, kRowHeight);

    auto *edit = new PathEdit(kind, filters, parent);
    edit->edit()->setStyleSheet(QStringLiteral("QLineEdit { background: #808080; color: yellow; }"));
    edit->setGeometry(kEditLeft, top, kEditWidth, kRowHeight);
    edit->edit()->setAccessibleName(caption);
    edit->browseButton()->setAccessibleName(caption + QStringLiteral(", browse"));
    return edit;
}

QPushButton *DialogButton(const QString &caption, int left, QWidget *parent)
{
    QPushButton *button = MakeCaptionButton(caption, parent);
    button->setGeometry(left, 216, 69, 25);
    return button;
}

} // namespace

TForm3::TForm3(QWidget *parent) : BorderlessDialog(QStringLiteral("Setup locations"), 428, 246, parent)
{
    Background1 = AddTiledBackground(this, DialogTile(devicePixelRatioF()));
    // Made in the order Tab visits them: Qt's setTabOrder misthreads the
    // focus chain of edits that hand their focus to a child, and the order
    // made here runs whole, forwards and backwards, through OK and Cancel.
    // On this platform "*.*" would skip files without a dot, so "All Files" is "*".
    kgenloc = LocationRow(QStringLiteral("GKen Location"), PathEdit::Kind::File,
                          QStringLiteral("KGen98 EXE (kgen98.exe);;Kgen EXE (kgen.exe);;All Files (*)"), 24, this);
    romloc = LocationRow(QStringLiteral("ROMs Location"), PathEdit::Kind::Folder, QString(), 96, this);
    pixloc = LocationRow(QStringLiteral("Snapshot Location"), PathEdit::Kind::Folder, QString(), 172, this);
    cdromloc = LocationRow(QStringLiteral("CD ROMs Location"), PathEdit::Kind::Folder, QString(), 136, this);
    geneloc = LocationRow(QStringLiteral("Genecyst Location"), PathEdit::Kind::File,
                          QStringLiteral("Genecsyt (Genecyst.exe)"), 60, this);
    butok = DialogButton(QStringLiteral("OK"), 152, this);
    butclose = DialogButton(QStringLiteral("Cancel"), 224, this);

    ConnectHandler(kgenloc, &PathEdit::textChanged, this, &TForm3::kgenlocChange);
    ConnectHandler(geneloc, &PathEdit::textChanged, this, &TForm3::genelocChange);
    ConnectHandler(romloc, &PathEdit::textChanged, this, &TForm3::romlocChange);
    ConnectHandler(cdromloc, &PathEdit::textChanged, this, &TForm3::cdromlocChange);
    ConnectHandler(pixloc, &PathEdit::textChanged, this, &TForm3::pixlocChange);
    ConnectHandler(butok, &QPushButton::clicked, this, &TForm3::butokClick);
    ConnectHandler(butclose, &QPushButton::clicked, this, &TForm3::butcloseClick);
}

void TForm3::showEvent(QShowEvent *event)
{
    RunHandler([&] {
        BorderlessDialog::showEvent(event);
        kgenloc->setFocus();
    });
}

void TForm3::FormActivate()
{
    FoldersChanged = false;
}

void TForm3::kgenlocChange()
{
    KGenLocation = kgenloc->text();
}

void TForm3::genelocChange()
{
    GenecystLocation = geneloc->text();
}

void TForm3::romlocChange()
{
    RomFolder = romloc->text();
    FoldersChanged = true;
}

void TForm3::cdromlocChange()
{
    CdRomFolder = cdromloc->text();
    FoldersChanged = true;
}

void TForm3::pixlocChange()
{
    PixFolder = pixloc->text();
}

int TForm3::exec()
{
    rescanAfterClose_ = false;
    const int result = BorderlessDialog::exec();
    if (std::exchange(rescanAfterClose_, false))
        rebuildList();
    return result;
}

void TForm3::butokClick()
{
    // A refused save raises an error here: the dialog stays open, nothing is rescanned.
    saveSettings();
    rescanAfterClose_ = FoldersChanged;
    accept();
}

void TForm3::butcloseClick()
{
    reject();
}
