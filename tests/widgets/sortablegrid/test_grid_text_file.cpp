#include "platform/errors.h"
#include "widgets/sortablegrid/grid_text_file.h"
#include "widgets/sortablegrid/sortable_grid_core.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QStringList Row(const SortableGridCore &grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid.ColCount(); ++c)
        cells << grid.Cells(c, row);
    return cells;
}

TEST(GridTextFile, LoadSplitsEveryLineIntoRowsFromRowZero)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "in.txt", "a;;b\r\n\nx\ry;z\n;\r\nlast");
    SortableGridCore grid; // one fixed row and column
    grid.SetCells(3, 3, "old");
    grid.LoadFromTextFile(path, ';');
    ASSERT_EQ(grid.RowCount(), 6);
    ASSERT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(Row(grid, 0), QStringList({"a", "", "b"}));
    EXPECT_EQ(Row(grid, 1), QStringList({"", "", ""}));
    EXPECT_EQ(Row(grid, 2), QStringList({"x", "", ""}));
    EXPECT_EQ(Row(grid, 3), QStringList({"y", "z", ""}));
    EXPECT_EQ(Row(grid, 4), QStringList({"", "", ""}));
    EXPECT_EQ(Row(grid, 5), QStringList({"last", "", ""}));
    EXPECT_EQ(grid.FixedRows(), 1);

    // One short line: the column count is the fixed columns and one.
    grid.LoadFromTextFile(WriteFile(dir, "one.txt", "x\n"), ';');
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(Row(grid, 0), QStringList({"x", ""}));
}

TEST(GridTextFile, SaveWritesEveryRowWithCrLfAndRoundTripsAllBytes)
{
    QTemporaryDir dir;
    SortableGridCore grid;
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetCells(0, 0, "File");
    grid.SetCells(2, 0, "End");
    grid.SetCells(1, 1, "x");
    const QString path = dir.filePath("out.txt");
    grid.SaveToTextFile(path, '|');
    EXPECT_EQ(ReadFile(path), QByteArray("File||End\r\n|x|\r\n"));

    // Any byte but the separator and line ends loads and saves unchanged.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != ';' && b != '\r' && b != '\n')
            bytes.append(char(b));
    }
    const QByteArray file = bytes + ";" + bytes + "\r\n";
    grid.LoadFromTextFile(WriteFile(dir, "bytes.txt", file), ';');
    EXPECT_EQ(grid.Cells(0, 0).size(), bytes.size());
    grid.SaveToTextFile(path, ';');
    EXPECT_EQ(ReadFile(path), file);
}

TEST(GridTextFile, FailuresRaiseIoErrorsAndLeaveTheGridAlone)
{
    QTemporaryDir dir;
    SortableGridCore grid;
    grid.SetCells(1, 1, "kept");
    try {
        grid.LoadFromTextFile(dir.filePath("missing.txt"), ';');
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_EQ(e.code(), 2);
        EXPECT_STREQ(e.what(), "File not found");
    }
    try {
        grid.LoadFromTextFile(dir.path(), ';');
        FAIL() << "no error";
    } catch (const IoError &e) {
        EXPECT_EQ(e.code(), 5);
    }
    EXPECT_THROW(grid.LoadFromTextFile("/dev/zero", ';'), IoError);
    EXPECT_EQ(grid.Cells(1, 1), "kept");
    EXPECT_THROW(grid.SaveToTextFile(dir.filePath("no/such/folder.txt"), ';'), IoError);
    EXPECT_THROW(grid.SaveToTextFile(dir.path(), ';'), IoError);

    // A FIFO or a device is no file to save into: refused at once. With a
    // reader at the other end, a save that went ahead would show in the pipe.
    const QString fifo = dir.filePath("pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    auto refusal = [&](const QString &path) {
        try {
            grid.SaveToTextFile(path, ';');
        } catch (const IoError &e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(refusal(fifo), 5);
    char byte = 0;
    EXPECT_LE(read(reader, &byte, 1), 0);
    close(reader);
    ASSERT_FALSE(HasFailure()) << "without a reader the save would wait for one";
    EXPECT_EQ(refusal(fifo), 5);
    EXPECT_EQ(refusal("/dev/null"), 5);
}

TEST(GridTextFile, HostileFilesLoadOrFailCleanly)
{
    QTemporaryDir dir;
    SortableGridCore grid;

    // A 1,000,000-byte line of binary bytes with NULs and no line end.
    QByteArray line(1000000, '\0');
    for (int i = 0; i < line.size(); ++i)
        line[i] = char((i * 131) % 256 == '\n' || (i * 131) % 256 == '\r' ? 0 : (i * 131) % 256);
    grid.LoadFromTextFile(WriteFile(dir, "long.txt", line), '\x01');
    EXPECT_EQ(grid.RowCount(), 1);
    QString joined;
    for (int c = 0; c < grid.ColCount(); ++c)
        joined += (c ? QStringLiteral("\x01") : QString()) + grid.Cells(c, 0);
    EXPECT_EQ(joined.size(), line.size());

    // 10,000 fields in each of 100 lines.
    QByteArray wide;
    for (int i = 0; i < 10000; ++i)
        wide += (i ? "," : "") + QByteArray::number(i);
    QByteArray wideFile;
    for (int r = 0; r < 100; ++r)
        wideFile += wide + "\n";
    grid.LoadFromTextFile(WriteFile(dir, "wide.txt", wideFile), ',');
    EXPECT_EQ(grid.ColCount(), 10000);
    EXPECT_EQ(grid.RowCount(), 100);
    EXPECT_EQ(grid.Cells(9999, 99), "9999");

    // More fields than the grid takes: an error, and the grid as it was.
    const QByteArray tooMany(kMaxTextFileFields, ',');
    EXPECT_THROW(grid.LoadFromTextFile(WriteFile(dir, "many.txt", tooMany), ','), RomdeckError);
    EXPECT_EQ(grid.Cells(9999, 99), "9999");
}

} // namespace
