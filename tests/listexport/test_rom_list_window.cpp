#include "listexport/rom_list_window.h"
#include "support/program_values_fixture.h"

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "platform/errors.h"
#include "settings/build_facts.h"
#include "settings/program_values.h"
#include "support/rom_images.h"
#include "support/temporary_desktop.h"
#include "widgets/image_button.h"
#include "widgets/sortablegrid/sortable_grid.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace rom_images;

namespace {

QByteArray Blanks(int count)
{
    return QByteArray(count, ' ');
}

// A catalogue line of a ROM: its file name and title, the third field empty.
QByteArray RomLine(const QByteArray &name, const QByteArray &title)
{
    return name.leftJustified(12, ' ', true) + " | " + title.leftJustified(48, ' ', true) + " | " + Blanks(48) + "\r\n";
}

class RomListWindow : public ProgramValuesFixture
{
protected:
    void SetUp() override
    {
        ProgramValuesFixture::SetUp();
        ASSERT_TRUE(root_.isValid());
        ProgramFolder = folder("program");
        RomFolder = folder("roms");
        PixFolder = RomFolder;
        windows_ = std::make_unique<ProgramWindows>();
        window_ = qobject_cast<Tformlistroms *>(windows_->secondary.listRoms);
        ASSERT_NE(window_, nullptr);
        grid_ = window_->romgrid;
    }

    void TearDown() override
    {
        windows_.reset();
        ProgramValuesFixture::TearDown();
    }

    QString folder(const QString &name)
    {
        EXPECT_TRUE(QDir(root_.path()).mkpath(name));
        return root_.filePath(name);
    }

    // Four ROMs; the main list orders them by title, or by file name without one.
    void writeFourRoms()
    {
        ASSERT_TRUE(WritePlainRom(RomFolder + "/racer.bin", "TURBO RACER"));
        ASSERT_TRUE(WriteSmdRom(RomFolder + "/puzzle.smd", "BLOCK PUZZLE DELUXE"));
        ASSERT_TRUE(WritePlainRom(RomFolder + "/cafe.bin", "CAF\xC9 \x80 WORLD"));
        ASSERT_TRUE(WritePlainRom(RomFolder + "/long_file_name.bin", ""));
    }

    void reload() { windows_->Form1->RebuildList(); }

    // Shows the window, without waiting for it to close as the main window's
    // button does; the fill runs as soon as events are handled.
    void open()
    {
        window_->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        ASSERT_EQ(grid_->RowCount(), std::max(2, windows_->Form1->lstdir->count() + 1));
    }

    QString Cell(int col, int row) const { return grid_->Cells(col, row); }

    QList<QStringList> Table() const
    {
        QList<QStringList> rows;
        for (int r = 0; r < grid_->RowCount(); ++r)
            rows << QStringList{Cell(0, r), Cell(1, r), Cell(2, r)};
        return rows;
    }

    QByteArray ReadProgramFile(const QString &name) const
    {
        QFile file(ProgramFolder + "/" + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir root_;
    std::unique_ptr<ProgramWindows> windows_;
    Tformlistroms *window_ = nullptr;
    TSortableGrid *grid_ = nullptr;
};

const QStringList kHeader{"File Name", "English Name", "Jap Name"};
const QByteArray kHead = "Genesis ROMs\r\n\r\n"
                         "File Name    | English Name" +
    Blanks(36) + " | Jap Name" + Blanks(40) + "\r\n\r\n";

} // namespace

TEST_F(RomListWindow, FillsFromTheMainListSortsByRightClickAndSavesThatOrder)
{
    writeFourRoms();
    reload();
    open();

    EXPECT_EQ(window_->pos(), QPoint(133, 121));
    EXPECT_EQ(window_->size(), QSize(537, 306));
    EXPECT_EQ(window_->editfilename->text(), "Genroms.txt");
    // The main list's order; names as stored, titles shown as Windows-1252.
    EXPECT_EQ(Table(),
              (QList<QStringList>{kHeader,
                                  {"puzzle.smd", "BLOCK PUZZLE DELUXE", ""},
                                  {"cafe.bin", QStringLiteral(u"CAFÉ € WORLD"), ""},
                                  {"long_file_name.bin", "", ""},
                                  {"racer.bin", "TURBO RACER", ""}}));

    // Data cells olive, header cells maroon (right of "Jap Name", clear of text).
    const QImage shot = grid_->viewport()->grab().toImage();
    const QRect header = grid_->CellRect(2, 0), data = grid_->CellRect(2, 1);
    EXPECT_EQ(shot.pixelColor(header.right() - 2, header.center().y()), QColor(0x80, 0x00, 0x00));
    EXPECT_EQ(shot.pixelColor(data.right() - 2, data.center().y()), QColor(0x80, 0x80, 0x00));

    // No in-place editing: a double click on a cell opens no editor.
    const QPoint cell = grid_->CellRect(1, 2).center();
    QTest::mousePress(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_FALSE(grid_->EditorMode());

    // The right button on "English Name" sorts descending by character code.
    QTest::mouseClick(grid_->viewport(), Qt::RightButton, Qt::NoModifier, grid_->CellRect(1, 0).center());
    EXPECT_EQ(Table(),
              (QList<QStringList>{kHeader,
                                  {"racer.bin", "TURBO RACER", ""},
                                  {"cafe.bin", QStringLiteral(u"CAFÉ € WORLD"), ""},
                                  {"puzzle.smd", "BLOCK PUZZLE DELUXE", ""},
                                  {"long_file_name.bin", "", ""}}));
    EXPECT_EQ(windows_->Form1->lstdir->item(0).text, "BLOCK PUZZLE DELUXE"); // the main list stays

    QTest::mouseClick(window_->butsaveasfile, Qt::LeftButton);
    EXPECT_EQ(ReadProgramFile("Genroms.txt"),
              kHead + RomLine("racer.bin", "TURBO RACER") + RomLine("cafe.bin", "CAF\xC9 \x80 WORLD") +
                  RomLine("puzzle.smd", "BLOCK PUZZLE DELUXE") + RomLine("long_file_name.bin", ""));
    EXPECT_TRUE(window_->isVisible()); // no message, the window stays
}

TEST_F(RomListWindow, EachOpeningHoldsExactlyTheCurrentList)
{
    writeFourRoms();
    reload();
    open();
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, Qt::NoModifier, grid_->CellRect(1, 0).center());
    QTest::mouseClick(window_->butclose, Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), QDialog::Rejected);

    ASSERT_TRUE(QFile::remove(RomFolder + "/racer.bin"));
    ASSERT_TRUE(QFile::remove(RomFolder + "/puzzle.smd"));
    ASSERT_TRUE(QFile::remove(RomFolder + "/long_file_name.bin"));
    reload();
    open();
    EXPECT_EQ(Table(), (QList<QStringList>{kHeader, {"cafe.bin", QStringLiteral(u"CAFÉ € WORLD"), ""}}));
    window_->butcloseClick();

    // An empty list leaves one empty data row, not the last opening's first row.
    ASSERT_TRUE(QFile::remove(RomFolder + "/cafe.bin"));
    reload();
    open();
    EXPECT_EQ(Table(), (QList<QStringList>{kHeader, {"", "", ""}}));
    window_->butsaveasfileClick();
    EXPECT_EQ(ReadProgramFile("Genroms.txt"), kHead + RomLine("", ""));
}

// Names that are not plain ASCII show as the system decodes file names.
TEST_F(RomListWindow, FileNamesShowAsTheSystemDecodesThem)
{
    const QByteArray names[] = {"Cafe\xCC\x81.bin", "bad\xFF.bin"};
    for (const QByteArray &name : names) {
        ASSERT_TRUE(WritePlainRom(RomFolder + "/rom.bin", name.left(1)));
        ASSERT_EQ(::rename(QFile::encodeName(RomFolder + "/rom.bin"), QFile::encodeName(RomFolder) + "/" + name), 0);
    }
    reload();
    open();
    const QStringList shown{Cell(0, 1), Cell(0, 2)};
    EXPECT_TRUE(shown.contains(QFile::decodeName(names[0])) && shown.contains(QFile::decodeName(names[1])));
    EXPECT_TRUE(shown.contains(QStringLiteral(u"bad\uFFFD.bin")));
}

TEST_F(RomListWindow, ClosedWhileFillingStopsAndTheNextOpeningFillsAnew)
{
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(
            WritePlainRom(RomFolder + QStringLiteral("/r%1.bin").arg(i), "GAME " + QByteArray::number(100 + i)));
    reload();

    // The close arrives while the first row is being filled.
    window_->show();
    QTimer::singleShot(0, window_, [this] { QTest::mouseClick(window_->butclose, Qt::LeftButton); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->isVisible(); }));
    QTest::qWait(20);
    EXPECT_LT(grid_->RowCount(), 51);

    open();
    ASSERT_EQ(grid_->RowCount(), 51);
    EXPECT_GT(grid_->verticalScrollBar()->maximum(), 30); // the scroll bars caught up with the rows
    for (int row = 1; row <= 50; ++row)
        EXPECT_EQ(Cell(1, row), QStringLiteral("GAME %1").arg(99 + row));
}

TEST_F(RomListWindow, SaveFailuresLeaveTheWindowAsItWas)
{
    writeFourRoms();
    reload();
    open();
    const QList<QStringList> before = Table();
    const QStringList programFiles = QDir(ProgramFolder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    // The error goes to the event loop's handler, which shows it in the
    // general error box; here it reaches the test.
    for (const QString name : {"", "missing/roms.txt"}) {
        window_->editfilename->setText(name);
        try {
            window_->butsaveasfileClick();
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const RomdeckError &error) {
            EXPECT_EQ(error.what(), "Cannot create file " + (ProgramFolder + "/" + name).toStdString());
        }
    }
    EXPECT_EQ(QDir(ProgramFolder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), programFiles);
    EXPECT_EQ(Table(), before);
    EXPECT_TRUE(window_->isVisible());

    // The user corrects the name and saves again.
    ASSERT_TRUE(QDir(ProgramFolder).mkdir("lists"));
    window_->editfilename->setText("lists/roms.txt");
    QTest::mouseClick(window_->butsaveasfile, Qt::LeftButton);
    EXPECT_TRUE(ReadProgramFile("lists/roms.txt").startsWith(kHead + RomLine("puzzle.smd", "BLOCK PUZZLE DELUXE")));
}

TEST_F(RomListWindow, AnInstalledProgramSavesTheCatalogueWhereItsSettingsLive)
{
    // An install has its data folder beside the program's folder, which
    // keeps the settings in the user's configuration folder.
    ASSERT_TRUE(QDir(ProgramFolder).mkpath(QStringLiteral(ROMDECK_DATA_FROM_PROGRAM)));
    const TemporaryDesktop desktop;
    writeFourRoms();
    reload();
    open();
    QTest::mouseClick(window_->butsaveasfile, Qt::LeftButton);
    QFile saved(desktop.configHome + "/romdeck/Genroms.txt");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith(kHead));
    EXPECT_EQ(ReadProgramFile("Genroms.txt"), "<missing>");
}
