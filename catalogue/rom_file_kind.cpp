#include "catalogue/rom_file_kind.h"

#include "platform/ascii_case.h"

#include <algorithm>
#include <cstring>

RomFileKind KindOfRomFile(QByteArrayView name)
{
    const char *bytes = name.data();
    qsizetype dot = name.size();
    while (dot > 0 && bytes[dot - 1] != '.') {
        if (bytes[dot - 1] == '/')
            return RomFileKind::NotRom;
        --dot;
    }
    if (dot == 0)
        return RomFileKind::NotRom;
    --dot;
    char kept[4];
    const auto length = static_cast<std::size_t>(std::min<qsizetype>(4, name.size() - dot));
    for (std::size_t i = 0; i < length; ++i)
        kept[i] = AsciiLower(bytes[dot + static_cast<qsizetype>(i)]);
    const auto is = [&](const char *extension) {
        return std::strlen(extension) == length && std::memcmp(kept, extension, length) == 0;
    };
    if (is(".bin") || is(".1"))
        return RomFileKind::Plain;
    if (is(".smd"))
        return RomFileKind::Smd;
    return RomFileKind::NotRom;
}
