#include "app/main_window.h"

#include "app/main_rom_list.h"
#include "catalogue/folder_scan.h"
#include "catalogue/header_names.h"
#include "platform/start_folder.h"
#include "settings/program_values.h"
#include "widgets/paced_caption.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <exception>

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

// The caption reaches the screen at the end of each folder, also when an
// error ends it: what stays on the screen is always the exact count.
class CaptionFlush
{
public:
    explicit CaptionFlush(PacedCaption &caption) : caption_(caption) {}
    ~CaptionFlush() { caption_.flush(); }

private:
    PacedCaption &caption_;
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
    caption_->setText(caption);
}

int TForm1::scanFolder(const QString &folder, int count)
{
    CaptionFlush flush(*caption_);
    QAbstractEventDispatcher *events = QAbstractEventDispatcher::instance();
    FolderScan scan(LocationPath(folder), readRomFile, [events] { events->wakeUp(); });
    ScannedEntry entry;
    for (;;) {
        const FolderScan::Step step = scan.take(entry);
        if (step == FolderScan::Step::Finished)
            return count;
        if (step == FolderScan::Step::Pending) {
            // The next entry is still being listed or read: the window goes
            // on answering until it is there, however long the file takes.
            // The caption goes with the list's next paint; with none on its
            // way (all rows painted, or a minimised window that paints
            // nothing), it goes now rather than wait out a slow file.
            if (!lstdir->repaintPending())
                caption_->flush();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (scanMustStop())
                return count;
            continue;
        }
        if (entry.failure)
            std::rethrow_exception(entry.failure);
        if (entry.isRom) {
            rom_info info;
            entry.rom.object.getrominfo(info);
            HeaderName = info.engname;
            lstdir->addItem(entry.rom.text, entry.rom.object);
            ++count;
            QCoreApplication::processEvents();
            if (scanMustStop())
                return count;
        }
        setCountCaption(count);
    }
}

void TForm1::ScanRomFolders()
{
    int count = 0;
    // An empty ROM-folder text names no folder: nothing is listed, and the
    // caption says so instead of keeping the count of an earlier scan.
    if (RomFolder.isEmpty()) {
        setCountCaption(0);
        caption_->flush();
    } else {
        count = scanFolder(RomFolder, 0);
    }
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
