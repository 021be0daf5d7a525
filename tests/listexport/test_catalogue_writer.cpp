#include "listexport/catalogue_writer.h"

#include "platform/errors.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kCrLf = "\r\n";

QByteArray Blanks(int count)
{
    return QByteArray(count, ' ');
}

// The catalogue's first four lines, for the ROM list's header row.
QByteArray Head()
{
    return "Genesis ROMs\r\n\r\n"
           "File Name    | English Name" +
        Blanks(36) + " | Jap Name" + Blanks(40) + "\r\n\r\n";
}

const QStringList kHeader{"File Name", "English Name", "Jap Name"};

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes the rows, the first being the header, and closes the file.
void Write(const QString &path, const QList<QStringList> &rows)
{
    CatalogueWriter catalogue(path);
    for (const QStringList &row : rows)
        catalogue.AddRow(row.value(0), row.value(1), row.value(2));
    catalogue.Close();
}

// The catalogue of the rows as it lands in a file.
QByteArray Catalogue(const QList<QStringList> &rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Genroms.txt");
    Write(path, rows);
    return ReadAll(path);
}

// Every path below the folder, to show that a failed save left nothing behind.
QStringList Contents(const QString &folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    return paths;
}

// While it lives, no file of the process grows beyond the limit: a write past
// it fails as on a full disk, for root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int);
};

std::string ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const RomdeckError &error) {
        return error.what();
    }
    return "<no error>";
}

} // namespace

TEST(CatalogueWriter, TwoRomsAndAnEmptyTable)
{
    const QByteArray text =
        Catalogue({kHeader, {"RACER~1.BIN", "TURBO RACER", ""}, {"PUZZLE.SMD", "BLOCK PUZZLE DELUXE", ""}});
    EXPECT_EQ(text,
              Head() + "RACER~1.BIN  | TURBO RACER" + Blanks(37) + " | " + Blanks(48) + kCrLf +
                  "PUZZLE.SMD   | BLOCK PUZZLE DELUXE" + Blanks(29) + " | " + Blanks(48) + kCrLf);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 7);
    for (int i : {2, 4, 5})
        EXPECT_EQ(lines[i].size(), 114 + 1) << "line " << i; // with its CR

    // The grid keeps one empty data row when the list is empty.
    EXPECT_EQ(Catalogue({kHeader, {}}), Head() + Blanks(12) + " | " + Blanks(48) + " | " + Blanks(48) + kCrLf);
}

TEST(CatalogueWriter, FieldsAreCutAndPadded)
{
    const QByteArray title47(47, 'T');
    const QByteArray title60 = QByteArray(48, 'L') + "OVERFLOWING!";
    const QByteArray text = Catalogue({kHeader,
                                       {"A_VERY_LONG_NAME.bin", QString::fromLatin1(title47), "jp"},
                                       {"x.bin", QString::fromLatin1(title60), QString::fromLatin1(title60)}});
    EXPECT_EQ(text,
              Head() + "A_VERY_LONG_ | " + title47 + Blanks(1) + " | jp" + Blanks(46) + kCrLf + "x.bin        | " +
                  title60.left(48) + " | " + title60.left(48) + kCrLf);
}

TEST(CatalogueWriter, OneEncodingWithAQuestionMarkForWhatItCannotHold)
{
    // Twelve characters of a name whatever they are; a character outside the
    // code page is one "?", never split; control characters become "?" in
    // names and titles, so no line breaks.
    const QByteArray text = Catalogue({kHeader,
                                       {QStringLiteral(u"Été_à_la_plage.bin"), "A", ""},
                                       {QStringLiteral(u"ABCDEFGHIJK\U0001F3AEZ.bin"), "B", ""},
                                       {QStringLiteral(u"\u4E00\n.bin"),
                                        "C\r\nD\t\x7F\x01"
                                        "E",
                                        "\x1F"}});
    const QByteArray tail = " | " + Blanks(48) + kCrLf;
    EXPECT_EQ(text,
              Head() + "\xC9t\xE9_\xE0_la_pla | A" + Blanks(47) + tail + "ABCDEFGHIJK? | B" + Blanks(47) + tail +
                  "??.bin" + Blanks(6) + " | C??D???E" + Blanks(40) + " | ?" + Blanks(47) + kCrLf);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_EQ(lines.size(), 8);
    for (int i : {2, 4, 5, 6})
        EXPECT_EQ(lines[i].size(), 114 + 1) << "line " << i;
    // DEL in fields of nothing else but printable ASCII, which take the fast way.
    EXPECT_TRUE(Catalogue({kHeader, {"d\x7F.bin", "A\x7F", ""}}).contains("d?.bin       | A?" + Blanks(46) + " | "));
}

TEST(CatalogueWriter, TitleBytesComeBackUnchanged)
{
    // Every byte from 0x80 to 0xFF, as header titles of at most 47 bytes hold them.
    QByteArray high;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        high.append(char(byte));
    const QByteArray first = high.left(47), second = high.mid(47, 47), third = high.mid(94);
    const QByteArray text = Catalogue({kHeader,
                                       {"a.bin", DecodeWindows1252(first), DecodeWindows1252(second)},
                                       {"b.bin", DecodeWindows1252(third), ""}});
    EXPECT_EQ(text,
              Head() + "a.bin        | " + first + Blanks(1) + " | " + second + Blanks(1) + kCrLf + "b.bin        | " +
                  third + Blanks(48 - third.size()) + " | " + Blanks(48) + kCrLf);
    // A character the code page lacks is written as "?", still one byte.
    EXPECT_TRUE(Catalogue({kHeader, {"c.bin", QStringLiteral(u"\u4E00Z"), ""}})
                    .contains("c.bin        | ?Z" + Blanks(46) + " | "));
}

TEST(CatalogueWriter, CreatesReplacesAndWritesIntoExistingSubFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<QStringList> two{kHeader, {"a.bin", "A", ""}, {"b.bin", "B", ""}};
    const QList<QStringList> empty{kHeader, {}};

    const QString path = CataloguePath(dir.path(), "Genroms.txt");
    EXPECT_EQ(path, dir.path() + "/Genroms.txt");
    Write(path, two);
    EXPECT_EQ(ReadAll(path), Catalogue(two));
    // A second save replaces the first without a trace of it.
    Write(path, empty);
    EXPECT_EQ(ReadAll(path), Catalogue(empty));

    ASSERT_TRUE(QDir(dir.path()).mkdir("lists"));
    Write(CataloguePath(dir.path(), "lists/roms.txt"), empty);
    EXPECT_EQ(ReadAll(dir.filePath("lists/roms.txt")), Catalogue(empty));

    // Far more rows than are gathered for one write.
    QList<QStringList> many{kHeader};
    for (int i = 0; i < 5000; ++i)
        many.append({QStringLiteral("R%1.BIN").arg(i), QStringLiteral("TITLE %1").arg(i), ""});
    Write(path, many);
    const QByteArray text = ReadAll(path);
    EXPECT_EQ(text.size(), 16 + 116 + 2 + 5000 * 116);
    EXPECT_TRUE(text.endsWith("R4999.BIN    | TITLE 4999" + Blanks(38) + " | " + Blanks(48) + kCrLf));

    // A program in the root folder gives two separators in a row.
    EXPECT_EQ(CataloguePath("/", "Genroms.txt"), "//Genroms.txt");
}

TEST(CatalogueWriter, FailuresAreReportedAndCreateNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const QStringList before = Contents(dir.path());

    for (const QString name : {"", "folder", "missing/roms.txt"}) {
        const QString path = CataloguePath(dir.path(), name);
        EXPECT_EQ(ErrorOf([&] { CatalogueWriter catalogue(path); }), "Cannot create file " + path.toStdString());
    }
    EXPECT_EQ(Contents(dir.path()), before);

    // A FIFO or a device of that name is refused at once. With a reader at
    // the other end, a save that went ahead would show in the pipe.
    const QString fifo = CataloguePath(dir.path(), "pipe.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(ErrorOf([&] { Write(fifo, {kHeader}); }), "Cannot create file " + fifo.toStdString());
    char byte = 0;
    EXPECT_LE(read(reader, &byte, 1), 0);
    close(reader);
    ASSERT_FALSE(HasFailure()) << "without a reader the save would wait for one";
    EXPECT_EQ(ErrorOf([&] { Write(fifo, {kHeader}); }), "Cannot create file " + fifo.toStdString());
    const QString device = CataloguePath(dir.path(), "null.txt");
    ASSERT_TRUE(QFile::link("/dev/null", device));
    EXPECT_EQ(ErrorOf([&] { Write(device, {kHeader}); }), "Cannot create file " + device.toStdString());

    // The file is created but the writes fail, as on a full disk: at the close
    // for a short table, on the way for a long one. What was written stays.
    const QString full = CataloguePath(dir.path(), "full.txt");
    {
        const FileSizeLimit limit(200);
        EXPECT_EQ(ErrorOf([&] { Write(full, {kHeader, {"a.bin", "A", ""}}); }), "Stream write error");
        EXPECT_EQ(ErrorOf([&] {
                      CatalogueWriter catalogue(full);
                      for (int i = 0; i < 5000; ++i)
                          catalogue.AddRow(u"a.bin", u"A", u"");
                      ADD_FAILURE() << "the rows were all taken";
                  }),
                  "Stream write error");
    }
    const QStringList row{"a.bin", "A", ""};
    EXPECT_EQ(ReadAll(full), Catalogue({row, row, row}).left(200));
}
