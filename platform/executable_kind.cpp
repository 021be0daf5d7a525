#include "platform/executable_kind.h"

#include "platform/errors.h"
#include "platform/file_name_text.h"
#include "platform/read_only_file.h"

#include <cstdint>

namespace {

constexpr int kNewHeaderOffsetField = 0x3C;
// "PE\0\0", then the file header, whose last field is the characteristics.
constexpr int kPeHeaderSize = 24;
constexpr int kCharacteristicsOffset = 22;
constexpr unsigned kExecutableImage = 0x0002;
constexpr unsigned kLibrary = 0x2000;

unsigned Little(const char *bytes, int count)
{
    unsigned value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

ExecutableKind KindOfImage(ReadOnlyFile &file)
{
    char dosHeader[kNewHeaderOffsetField + 4];
    const int got = file.readAt(0, dosHeader, sizeof dosHeader);
    if (got < 2 || dosHeader[0] != 'M' || dosHeader[1] != 'Z')
        return ExecutableKind::Native;
    if (got < int(sizeof dosHeader))
        return ExecutableKind::WindowsOther;

    const std::int64_t peOffset = Little(dosHeader + kNewHeaderOffsetField, 4);
    char peHeader[kPeHeaderSize];
    if (file.readAt(peOffset, peHeader, sizeof peHeader) < int(sizeof peHeader) ||
        QByteArray(peHeader, 4) != QByteArray("PE\0\0", 4))
        return ExecutableKind::WindowsOther;
    const unsigned characteristics = Little(peHeader + kCharacteristicsOffset, 2);
    return (characteristics & kExecutableImage) && !(characteristics & kLibrary) ? ExecutableKind::WindowsProgram
                                                                                 : ExecutableKind::WindowsOther;
}

} // namespace

ExecutableKind ExecutableKindOf(const QString &path)
{
    try {
        ReadOnlyFile file(FileNameBytes(path));
        return KindOfImage(file);
    } catch (const IoError &) {
        // Unreadable: whether it runs is for the system to say.
        return ExecutableKind::Native;
    }
}
