#include "app/main_window.h"

#include "app/program_values.h"
#include "app/rom_list_box.h"
#include "catalogue/header_names.h"
#include "catalogue/make_short_path.h"
#include "catalogue/rom_file_kind.h"
#include "platform/folder_reader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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

QString JoinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + QLatin1Char('/') + name;
}

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
    const QByteArray nativeFolder = QFile::encodeName(folder);
    const QByteArray separator = nativeFolder.endsWith('/') ? QByteArray() : QByteArrayLiteral("/");
    FolderReader reader(nativeFolder);
    QByteArray nativeName;
    while (reader.next(nativeName)) {
        const QString name = QFile::decodeName(nativeName);
        const RomFileKind kind = KindOfRomFile(name);
        if (kind != RomFileKind::NotRom) {
            // The header is read through the name's own bytes, so that a name
            // that is not valid text still opens.
            const QByteArray nativePath = nativeFolder + separator + nativeName;
            const QString text = kind == RomFileKind::Smd ? ReadSmdHeaderName(nativePath, HeaderName)
                                                          : ReadBinHeaderName(nativePath, HeaderName);
            romobj object;
            object.putrominfo(rom_info{MakeShortPath(JoinPath(folder, name)), HeaderName});
            lstdir->addItem(text, object);
            ++count;
            QCoreApplication::processEvents();
            if (scanMustStop())
                return count;
        }
        setCountCaption(count);
    }
    return count;
}

void TForm1::ScanRomFolders()
{
    int count = scanFolder(RomFolder, 0);
    if (scanMustStop())
        return;
    if (!CdRomFolder.isEmpty() && QFileInfo(CdRomFolder).isDir()) {
        scanFolder(CdRomFolder, count);
        if (scanMustStop())
            return;
    }
    if (lstdir->count() > 0) {
        lstdir->setItemIndex(0);
        lstdirClick();
    }
}
