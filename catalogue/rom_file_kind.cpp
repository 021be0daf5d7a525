#include "catalogue/rom_file_kind.h"

#include <QString>

RomFileKind KindOfRomFile(QStringView name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || name.indexOf(u'/', dot) >= 0)
        return RomFileKind::NotRom;
    QString kept = name.mid(dot, 4).toString();
    for (QChar &ch : kept) {
        if (ch >= u'A' && ch <= u'Z')
            ch = QChar(ch.unicode() + ('a' - 'A'));
    }
    if (kept == u".bin" || kept == u".1")
        return RomFileKind::Plain;
    if (kept == u".smd")
        return RomFileKind::Smd;
    return RomFileKind::NotRom;
}
