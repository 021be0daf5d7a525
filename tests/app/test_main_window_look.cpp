#include "support/decoration_probes.h"
#include "support/main_window_fixture.h"
#include "support/pcx_files.h"
#include "support/rom_images.h"

#include "dialogs/picture_picker.h"
#include "dialogs/rom_info_dialog.h"
#include "listexport/rom_list_window.h"
#include "platform/message_box.h"
#include "preview/file_browse_controls.h"
#include "preview/picture_name_label.h"
#include "widgets/artwork.h"
#include "widgets/sortablegrid/sortable_grid.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

using MainWindowLook = MainWindowFixture;

TEST_F(MainWindowLook, TheTileShowsAroundTheControlsAndThroughTheLogo)
{
    const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage tile = MainWindowTile();
    // Beside the logo nothing but the tile, repeated from the window's corner.
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 430; x < 576; ++x)
            wrong += shot.pixel(x, y) != tile.pixel(x % 63, y % 63);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(LogoOverTileMismatches(shot, MainWindowLogo(), QPoint(268, 8), tile), 0);
}

// Data shows as it is, never as markup: with a ROM whose name reads like
// rich text selected, every label of the six windows that shows text is
// plain text, and so is the error box that names the file.
TEST_F(MainWindowLook, FileNamesShowAsPlainTextInEveryLabel)
{
    const QString name = QStringLiteral("<font color=red size=1>tiny");
    ASSERT_TRUE(rom_images::WritePlainRom(workDir.filePath(name + ".bin"), "<b>BIG</b>"));
    RomFolder = PixFolder = workFolder;
    form->RebuildList();
    ASSERT_EQ(form->lstdir->count(), 1);
    form->lstdir->setItemIndex(0);
    form->lstdirClick();
    EXPECT_EQ(form->labpixtitle->text(), name + ".pcx");
    auto *picker = qobject_cast<TFormpickpix *>(windows->secondary.pickPix);
    picker->FormActivate();
    ASSERT_TRUE(WaitUntil([&] { return !picker->DirectoryListBox1->isListing(); }));

    for (const QWidget *window : programWindows()) {
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (label->window() == window && !label->text().isEmpty())
                EXPECT_EQ(label->textFormat(), Qt::PlainText)
                    << window->metaObject()->className() << ": " << label->text().toStdString();
        }
    }

    ModalAnswerer answerer;
    answerer.thenAnswer([](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->buttons().front()->click();
    });
    ShowErrorBox("File not found: " + workDir.filePath(name + ".bin"));
    EXPECT_EQ(answerer.seen().size(), 1);
}

// Where focus goes from `start` at each press of Tab (or Shift+Tab), until it comes back.
QList<QWidget *> FocusWalk(QWidget *start, Qt::KeyboardModifier direction)
{
    QList<QWidget *> seen;
    for (QWidget *at = start; seen.size() < 20 && (seen.isEmpty() || at != start); at = QApplication::focusWidget()) {
        seen << at;
        QTest::keyClick(at, Qt::Key_Tab, direction);
    }
    return seen;
}

void ShowActive(QWidget *dialog, QWidget *focus)
{
    dialog->show();
    // A window hidden a moment ago may still be losing the activation.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->activateWindow(), focus->setFocus(), focus->hasFocus(); }));
}

// Every dialog is used from the keyboard alone: Tab visits each control,
// forwards and backwards, and Enter presses the focused button (which closes
// the dialog), as on Windows, but not from an edit.
TEST_F(MainWindowLook, TabWalksEveryDialogBothWaysAndEnterPressesTheFocusedButton)
{
    auto *info = qobject_cast<Tforminfo *>(windows->secondary.romInfo);
    auto *picker = qobject_cast<TFormpickpix *>(windows->secondary.pickPix);
    auto *list = qobject_cast<Tformlistroms *>(windows->secondary.listRoms);
    const std::pair<QWidget *, QList<QWidget *>> dialogs[] = {
        {locations,
         {locations->kgenloc->edit(), locations->romloc->edit(), locations->pixloc->edit(), locations->cdromloc->edit(),
          locations->geneloc->edit(), locations->butok, locations->butclose}},
        {info, {info->editengname, info->editjapname, info->editfilename, info->butok, info->butexit}},
        {picker, {picker->DriveComboBox1, picker->DirectoryListBox1, picker->FilterComboBox1, picker->FileListBox1}},
        {list, {list->romgrid, list->editfilename}},
    };
    for (const auto &[dialog, order] : dialogs) {
        SCOPED_TRACE(dialog->metaObject()->className());
        ShowActive(dialog, order.front());
        EXPECT_EQ(FocusWalk(order.front(), Qt::NoModifier), order);
        QList<QWidget *> backwards = FocusWalk(order.front(), Qt::ShiftModifier);
        std::reverse(backwards.begin() + 1, backwards.end());
        EXPECT_EQ(backwards, order);
        QTest::keyClick(order.front(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            ShowActive(dialog, button);
            QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_FALSE(dialog->isVisible()) << button->text().toStdString();
        }
        dialog->hide();
    }
}

// The controls a screen reader lands on inside a window, found through the
// accessible tree as a reader walks it; a list's, table's or combo box's
// entries are their own and are left out.
void CollectControls(QAccessibleInterface *node, QList<QAccessibleInterface *> &controls)
{
    static const QList<QAccessible::Role> kControls = {
        QAccessible::PushButton, QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::EditableText,
        QAccessible::List,       QAccessible::Table,    QAccessible::ComboBox,    QAccessible::Slider,
        QAccessible::Link,       QAccessible::Graphic};
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        const auto *widget = child ? qobject_cast<const QWidget *>(child->object()) : nullptr;
        if (!child || widget && widget->isWindow())
            continue;
        if (kControls.contains(child->role()))
            controls << child;
        if (child->role() != QAccessible::List && child->role() != QAccessible::Table &&
            child->role() != QAccessible::ComboBox)
            CollectControls(child, controls);
    }
}

// A screen reader names each window, the borderless ones too, though no
// title bar shows the name, and tells it as a window; it names each control
// in it by the name the program gives (a glyph button by its hint, an edit by
// its caption, a combo box by its purpose, not its value), each picture by
// what it shows (a graphic is found by the name it is given), and it finds
// the links as links it can follow.
TEST_F(MainWindowLook, EveryWindowAndControlTellsItsNameToScreenReaders)
{
    EXPECT_EQ(form->pix->accessibleName(), "No picture");
    PixFolder = workFolder;
    const QByteArray pcx = pcx_files::File({.width = 2, .height = 2}, QByteArray(4, 1), false, QByteArray(768, 0));
    ASSERT_TRUE(rom_images::WriteFile(workDir.filePath("SONIC.pcx"), pcx));
    addEntry("Sonic the Hedgehog", workDir.filePath("SONIC.bin"));
    form->lstdir->setItemIndex(0);
    form->lstdirClick();
    EXPECT_EQ(form->pix->accessibleName(), "Preview picture of Sonic the Hedgehog");

    QStringList names;
    int controlCount = 0;
    QStringList links;
    for (QWidget *window : programWindows()) {
        QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(readable, nullptr);
        names << readable->text(QAccessible::Name);
        const std::string className = window->metaObject()->className();
        EXPECT_FALSE(names.back().isEmpty()) << className;
        EXPECT_EQ(readable->role(), window == form ? QAccessible::Window : QAccessible::Dialog) << className;
        EXPECT_EQ(window != form, bool(window->windowFlags() & Qt::FramelessWindowHint));
        QList<QAccessibleInterface *> controls;
        CollectControls(readable, controls);
        controlCount += controls.size();
        for (QAccessibleInterface *control : controls) {
            const auto *widget = qobject_cast<const QWidget *>(control->object());
            EXPECT_FALSE(control->text(QAccessible::Name).isEmpty())
                << className << ": a " << widget->metaObject()->className() << " at " << widget->x() << ","
                << widget->y();
            if (!widget->accessibleName().isEmpty())
                EXPECT_EQ(control->text(QAccessible::Name), widget->accessibleName());
            if (control->role() == QAccessible::Link && control->actionInterface()->actionNames().contains("Press"))
                links << control->text(QAccessible::Name);
        }
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 6) << names.join(u'|').toStdString();
    EXPECT_GE(controlCount, 50);
    EXPECT_EQ(links, (QStringList{"romdeck@example.org", "romdeck.example.org"}));
}

} // namespace
