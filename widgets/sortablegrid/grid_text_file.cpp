#include "widgets/sortablegrid/grid_text_file.h"

#include "platform/errors.h"
#include "platform/open_for_overwrite.h"
#include "platform/windows1252.h"
#include "widgets/sortablegrid/grid_table.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;

[[noreturn]] void ThrowFileError()
{
    // QFile leaves errno as the failed system call set it; a failure without
    // one is reported as a refused access.
    if (errno == 0)
        throw IoError(5);
    ThrowLastIoError();
}

// Collects fields and lines from decoded text handed over in chunks.
class LineSplitter
{
public:
    explicit LineSplitter(QChar separator) : separator_(separator) {}

    void Feed(QStringView text)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'\n' && afterCr_) {
                afterCr_ = false;
                start = i + 1;
                continue; // the LF of a CR LF
            }
            afterCr_ = false;
            if (c != separator_ && c != u'\r' && c != u'\n')
                continue;
            field_ += text.mid(start, i - start);
            start = i + 1;
            afterCr_ = c == u'\r';
            EndField();
            if (c != separator_)
                EndLine();
        }
        field_ += text.mid(start);
    }

    std::vector<QStringList> Finish()
    {
        if (!field_.isEmpty() || !line_.isEmpty()) {
            EndField();
            EndLine();
        }
        return std::move(lines_);
    }

private:
    void EndField()
    {
        if (++fieldCount_ > kMaxTextFileFields)
            throw RomdeckError("File has too many fields to load");
        line_.append(field_);
        field_.clear();
    }

    void EndLine()
    {
        lines_.push_back(std::move(line_));
        line_ = QStringList();
    }

    QChar separator_;
    bool afterCr_ = false;
    qint64 fieldCount_ = 0;
    QString field_;
    QStringList line_;
    std::vector<QStringList> lines_;
};

} // namespace

std::vector<QStringList> ReadSeparatedTextFile(const QString &fileName, QChar separator)
{
    // A folder, a pipe or a device is no text file; opening a pipe could block.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        throw IoError(5);

    QFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        ThrowFileError();

    LineSplitter splitter(separator);
    qint64 total = 0;
    for (;;) {
        errno = 0;
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                ThrowFileError();
            break;
        }
        total += chunk.size();
        if (total > kMaxTextFileBytes)
            throw RomdeckError("File is too large to load");
        splitter.Feed(DecodeWindows1252(chunk));
    }
    return splitter.Finish();
}

void WriteSeparatedTextFile(const QString &fileName, QChar separator, const GridTable &table)
{
    QFile file;
    errno = 0;
    if (!OpenReplacedFile(file, fileName))
        ThrowFileError();

    QByteArray buffer;
    auto flush = [&] {
        errno = 0;
        if (file.write(buffer) != buffer.size())
            ThrowFileError();
        buffer.clear();
    };
    const QByteArray separatorByte = EncodeWindows1252(QStringView(&separator, 1));
    for (int row = 0; row < table.RowCount(); ++row) {
        const QStringList &cells = table.Row(row);
        for (int col = 0; col < table.ColCount(); ++col) {
            if (col > 0)
                buffer += separatorByte;
            if (col < cells.size())
                buffer += EncodeWindows1252(cells[col]);
        }
        buffer += "\r\n";
        if (buffer.size() >= kChunkBytes)
            flush();
    }
    flush();
    errno = 0;
    if (!file.flush())
        ThrowFileError();
    file.close();
}
