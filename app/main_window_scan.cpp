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

template <typename Text>
Text WithFinalSlash(const Text &folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
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
    const QString folderPrefix = WithFinalSlash(folder);
    FolderReader reader(QFile::encodeName(folder));
    // The header is read through the name's own bytes, so that a name that is
    // not valid text still opens. One buffer serves every entry's path.
    QByteArray nativePath = WithFinalSlash(QFile::encodeName(folder));
    const qsizetype folderLength = nativePath.size();
    QByteArray nativeName;
    while (reader.next(nativeName)) {
        const QString name = QFile::decodeName(nativeName);
        const RomFileKind kind = KindOfRomFile(name);
        if (kind != RomFileKind::NotRom) {
            nativePath.truncate(folderLength);
            nativePath += nativeName;
            const QString text = kind == RomFileKind::Smd ? ReadSmdHeaderName(nativePath, HeaderName)
                                                          : ReadBinHeaderName(nativePath, HeaderName);
            romobj object;
            object.putrominfo(rom_info{MakeShortPath(folderPrefix + name), HeaderName});
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
