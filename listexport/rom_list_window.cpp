#include "listexport/rom_list_window.h"

#include "catalogue/sorted_rom_list.h"
#include "listexport/catalogue_writer.h"
#include "listexport/paced_repaint.h"
#include "platform/handler_guard.h"
#include "platform/windows1252.h"
#include "settings/program_values.h"
#include "settings/settings_location.h"
#include "widgets/artwork.h"
#include "widgets/image_button.h"
#include "widgets/program_font.h"
#include "widgets/sortablegrid/sortable_grid.h"
#include "widgets/window_decoration.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

namespace {

const QColor kOlive(0x80, 0x80, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
constexpr int kColumns = 3;

// The file name part of a path as QFile::decodeName shows it. Most names are
// plain ASCII, which reads as it is: no copy of the part and no pass through
// the system's text converter, which would cost more than the rest of a row.
QString DisplayFileName(const QByteArray &path)
{
    const QByteArrayView name = QByteArrayView(path).sliced(path.lastIndexOf('/') + 1);
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(name);
    return QFile::decodeName(name.toByteArray());
}

} // namespace

Tformlistroms::Tformlistroms(const SortedRomList &mainList, QWidget *parent)
    : BorderlessDialog(QStringLiteral("ROM list"), 537, 306, parent), lstdir_(mainList)
{
    setScreenPosition(QPoint(133, 121));
    Background1 = AddTiledBackground(this, DialogTile(devicePixelRatioF()));

    romgrid = new TSortableGrid(this);
    romgrid->setAccessibleName(QStringLiteral("ROMs"));
    romgrid->setGeometry(8, 16, 521, 245);
    romgrid->SetFixedCols(0);
    romgrid->SetColCount(kColumns);
    romgrid->SetRowCount(2);
    romgrid->SetDefaultRowHeight(16);
    romgrid->SetColWidths(0, 119);
    romgrid->SetColWidths(1, 238);
    romgrid->SetColWidths(2, 155);
    romgrid->SetColor(kOlive);
    romgrid->SetFixedColor(kMaroon);
    romgrid->SetFontColor(Qt::yellow);
    romgrid->setFont(ProgramFont(13));
    romgrid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect);
    romgrid->SetScrollBars(ssBoth);

    butsaveasfile = new ImageButton(QStringLiteral("SAVE"), QStringLiteral("Ready to swap"), this);
    butsaveasfile->setGeometry(12, 272, 105, 29);
    butsaveasfile->setFace(ButtonGlyphImage(ButtonGlyph::Save, devicePixelRatioF()));

    editfilename = new QLineEdit(QStringLiteral("Genroms.txt"), this);
    editfilename->setAccessibleName(QStringLiteral("Catalogue file name"));
    editfilename->setGeometry(128, 272, 161, 28);
    editfilename->setFont(ProgramFont(16));
    editfilename->setStyleSheet(QStringLiteral("QLineEdit { background: #808000; color: yellow; }"));

    butclose = new ImageButton(QString(), QStringLiteral("Go Away"), this, ImageButton::Glyph::Close);
    butclose->setGeometry(480, 272, 45, 29);
    butclose->setFace(ButtonGlyphImage(ButtonGlyph::Close, devicePixelRatioF()));

    setTabOrder(romgrid, editfilename);
    ConnectHandler(butsaveasfile, &ImageButton::clicked, this, &Tformlistroms::butsaveasfileClick);
    ConnectHandler(butclose, &ImageButton::clicked, this, &Tformlistroms::butcloseClick);
}

void Tformlistroms::FormActivate()
{
    romgrid->SetCells(0, 0, QStringLiteral("File Name"));
    romgrid->SetCells(1, 0, QStringLiteral("English Name"));
    romgrid->SetCells(2, 0, QStringLiteral("Jap Name"));
    romgrid->SetRowCount(2);
    // The one data row left over must not show the last showing's first row
    // when the list is empty now.
    for (int col = 0; col < kColumns; ++col)
        romgrid->SetCells(col, 1, QString());

    // The scroll bars follow the growing table with the paced repaints, not
    // after every row; input always finds them up to date.
    const ScrollPageHold hold(romgrid);
    const QPointer<TSortableGrid> grid = romgrid;
    PacedRepaint pacing(romgrid, 40, [grid] {
        if (grid)
            grid->ApplyPendingScrollPage();
    });
    for (int i = 0; i < lstdir_.count(); ++i) {
        if (i > 0)
            romgrid->SetRowCount(romgrid->RowCount() + 1);
        rom_info info;
        lstdir_.at(i).object.getrominfo(info);
        romgrid->SetCells(0, i + 1, DisplayFileName(info.filename));
        romgrid->SetCells(1, i + 1, DecodeWindows1252(info.engname));
        QCoreApplication::processEvents();
        // Closed meanwhile: the next showing fills the table anew.
        if (!isVisible())
            break;
    }
}

void Tformlistroms::butsaveasfileClick()
{
    // The catalogue goes where the settings live: beside a portable program,
    // as always, and in the user's configuration folder for an installed one,
    // whose own folder no user may write.
    const QString settingsFile = SettingsFilePath(ProgramFolder);
    MakeSettingsFolder(settingsFile);
    CatalogueWriter catalogue(CataloguePath(QFileInfo(settingsFile).path(), editfilename->text()));
    for (int row = 0; row < romgrid->RowCount(); ++row)
        catalogue.AddRow(romgrid->Cells(0, row), romgrid->Cells(1, row), romgrid->Cells(2, row));
    catalogue.Close();
}

void Tformlistroms::butcloseClick()
{
    reject();
}
