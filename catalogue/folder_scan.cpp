#include "catalogue/folder_scan.h"

#include "catalogue/header_names.h"
#include "catalogue/make_short_path.h"
#include "catalogue/rom_file_kind.h"
#include "platform/file_name_text.h"
#include "platform/folder_reader.h"
#include "platform/paths.h"

void ScanFolder(const QString &folder, const ScanVisitor &visit)
{
    // Every path is built from the folder's and the entry's own bytes, so
    // that a name that is no valid text opens, plays and keeps its section.
    const QByteArray nativeFolder = FileNameBytes(folder);
    FolderReader reader(nativeFolder);
    QByteArray path = WithFinalSlash(nativeFolder);
    const qsizetype folderLength = path.size();
    QByteArray name;
    FoundRom rom;
    while (reader.next(name)) {
        const RomFileKind kind = KindOfRomFile(name);
        if (kind == RomFileKind::NotRom) {
            if (visit(nullptr) == ScanStep::Stop)
                return;
            continue;
        }
        path.truncate(folderLength);
        path += name;
        rom.text = kind == RomFileKind::Smd ? ReadSmdHeaderName(path, HeaderName) : ReadBinHeaderName(path, HeaderName);
        rom.object.putrominfo(rom_info{MakeShortPath(path), HeaderName});
        if (visit(&rom) == ScanStep::Stop)
            return;
    }
}
