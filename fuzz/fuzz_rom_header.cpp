// The cartridge header readers on any file content, and the ROM name
// classifier on any name: no crash, a title of at most 47 bytes, and a list
// text that is the title or, for an empty title, the file's name.
#include "catalogue/header_names.h"
#include "catalogue/rom_file_kind.h"
#include "catalogue/rom_layout.h"
#include "fuzz/scratch_file.h"
#include "platform/windows1252.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const ScratchFile file("game.bin");
    file.Write(data, size);
    for (auto reader : {&ReadBinHeaderName, &ReadSmdHeaderName}) {
        QByteArray title;
        const QString text = reader(file.path(), title);
        if (title.size() > rom_layout::kHeaderNameMax)
            abort();
        if (title.isEmpty() ? text != QStringLiteral("game.bin") : text != DecodeWindows1252(title))
            abort();
    }
    const QByteArrayView name(data, qsizetype(size));
    const RomFileKind kind = KindOfRomFile(name);
    // The kind depends on the extension alone: any folder before it changes nothing.
    if (!name.contains('/') && KindOfRomFile(QByteArray("/roms/").append(name)) != kind)
        abort();
    return 0;
}
