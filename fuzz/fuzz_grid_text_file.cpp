// The grid's text-file loader on any file: no crash, and the fields it gives
// are the file's text cut at every separator and line end. The first byte is
// the separator, the rest the file.
#include "fuzz/scratch_file.h"
#include "platform/windows1252.h"
#include "widgets/sortablegrid/grid_text_file.h"

#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const ScratchFile file("list.txt");
    const QChar separator = DecodeWindows1252(QByteArrayView(data, 1)).at(0);
    file.Write(data + 1, size - 1);
    const std::vector<QStringList> lines = ReadSeparatedTextFile(QFile::decodeName(file.path()), separator);
    // A line end as the separator leaves nothing to compare.
    if (separator == u'\r' || separator == u'\n')
        return 0;

    // The same text with every line ended by one LF, rebuilt from the fields.
    QString expected = DecodeWindows1252(QByteArrayView(data + 1, qsizetype(size - 1)));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!expected.isEmpty() && !expected.endsWith(u'\n'))
        expected += u'\n';
    QString rebuilt;
    for (const QStringList &fields : lines) {
        for (const QString &field : fields) {
            if (field.contains(separator) || field.contains(u'\r') || field.contains(u'\n'))
                abort();
        }
        rebuilt += fields.join(separator) + u'\n';
    }
    if (rebuilt != expected)
        abort();
    return 0;
}
