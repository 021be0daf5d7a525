#include "app/main_window.h"

#include "app/main_rom_list.h"
#include "catalogue/folder_scan.h"
#include "platform/start_folder.h"
#include "settings/program_values.h"

#include <QCoreApplication>

namespace {

// Marks a scan as running for as long as it runs, also when it ends in an error.
class ScanMark
{
public:
    explicit ScanMark(bool &flag) : flag_(flag) { flag_ = true; }
    ~ScanMark() { flag_ = false; }

private:
    bool &flag_;
};

} // namespace

void TForm1::RebuildList()
{
    if (scanning_) {
        restartRequested_ = true;
        return;
    }
    ScanMark mark(scanning_);
    do {
        restartRequested_ = false;
        lstdir->clear();
        ScanRomFolders();
    } while (restartRequested_ && !closing_);
}

void TForm1::setCountCaption(int count)
{
    // Runs after every directory entry: plain appends cost less than arg().
    QString caption = QStringLiteral("Romdeck - ");
    caption += QString::number(count);
    caption += QLatin1String(" ROMs");
    setWindowTitle(caption);
}

int TForm1::scanFolder(const QString &folder, int count)
{
    ScanFolder(FromStartFolder(folder), [&](const FoundRom *rom) {
        if (rom) {
            lstdir->addItem(rom->text, rom->object);
            ++count;
            QCoreApplication::processEvents();
            if (scanMustStop())
                return ScanStep::Stop;
        }
        setCountCaption(count);
        return ScanStep::GoOn;
    });
    return count;
}

void TForm1::ScanRomFolders()
{
    int count = scanFolder(RomFolder, 0);
    if (scanMustStop())
        return;
    // A CD-ROM folder that is empty text, missing or no folder gives no entry.
    if (!CdRomFolder.isEmpty()) {
        scanFolder(CdRomFolder, count);
        if (scanMustStop())
            return;
    }
    if (lstdir->count() > 0) {
        lstdir->setItemIndex(0);
        lstdirClick();
    }
}
