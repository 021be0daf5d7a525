#include "catalogue/folder_scan.h"

#include "catalogue/header_names.h"
#include "catalogue/make_short_path.h"
#include "catalogue/rom_file_kind.h"
#include "platform/folder_reader.h"
#include "platform/paths.h"

#include <QFile>

void ScanFolder(const QString &folder, const ScanVisitor &visit)
{
    const QString folderPrefix = WithFinalSlash(folder);
    FolderReader reader(QFile::encodeName(folder));
    // The header is read through the name's own bytes, so that a name that is
    // not valid text still opens. One buffer serves every entry's path.
    QByteArray nativePath = WithFinalSlash(QFile::encodeName(folder));
    const qsizetype folderLength = nativePath.size();
    QByteArray nativeName;
    FoundRom rom;
    while (reader.next(nativeName)) {
        const QString name = QFile::decodeName(nativeName);
        const RomFileKind kind = KindOfRomFile(name);
        if (kind == RomFileKind::NotRom) {
            if (visit(nullptr) == ScanStep::Stop)
                return;
            continue;
        }
        nativePath.truncate(folderLength);
        nativePath += nativeName;
        rom.text = kind == RomFileKind::Smd ? ReadSmdHeaderName(nativePath, HeaderName)
                                            : ReadBinHeaderName(nativePath, HeaderName);
        rom.object.putrominfo(rom_info{MakeShortPath(folderPrefix + name), HeaderName});
        if (visit(&rom) == ScanStep::Stop)
            return;
    }
}
