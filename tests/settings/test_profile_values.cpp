#include "settings/profile_values.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace {

class ProfileValues : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString file() const { return QDir(folder.path()).filePath(QStringLiteral("romdeck.ini")); }

    void put(const QByteArray &bytes) const
    {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }

    QByteArray bytes() const
    {
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArrayLiteral("<missing>");
    }

    void writeText(const QString &section, const QString &key, const QString &value) const
    {
        ProfileWrites writes;
        writes.setText(section, key, value);
        writes.write(file());
    }

    // The text of the error a write raises, or nothing when it succeeds.
    std::optional<std::string> writeError(const QString &section, const QString &key, const QString &value) const
    {
        try {
            writeText(section, key, value);
        } catch (const RomdeckError &error) {
            return std::string(error.what());
        }
        return std::nullopt;
    }

    QTemporaryDir folder;
};

std::optional<int> Parsed(const char *text)
{
    int value = 12345;
    if (!ParseProfileInteger(QString::fromUtf8(text), value)) {
        EXPECT_EQ(value, 12345) << "a failed conversion must leave the value alone: " << text;
        return std::nullopt;
    }
    return value;
}

TEST(ParseProfileInteger, ReadsSignedDecimal)
{
    EXPECT_EQ(Parsed("0"), 0);
    EXPECT_EQ(Parsed("42"), 42);
    EXPECT_EQ(Parsed("-42"), -42);
    EXPECT_EQ(Parsed("+7"), 7);
    EXPECT_EQ(Parsed("-0"), 0);
    EXPECT_EQ(Parsed("007"), 7);
    EXPECT_EQ(Parsed("2147483647"), INT_MAX);
    EXPECT_EQ(Parsed("-2147483648"), INT_MIN);
}

TEST(ParseProfileInteger, ReadsHexadecimalAfterDollarOrZeroX)
{
    EXPECT_EQ(Parsed("$1F"), 31);
    EXPECT_EQ(Parsed("$ff"), 255);
    EXPECT_EQ(Parsed("0x1"), 1);
    EXPECT_EQ(Parsed("0X1a"), 26);
    EXPECT_EQ(Parsed("0x0"), 0);
    EXPECT_EQ(Parsed("-$10"), -16);
    EXPECT_EQ(Parsed("-0x10"), -16);
    EXPECT_EQ(Parsed("+$10"), 16);
    EXPECT_EQ(Parsed("0x7FFFFFFF"), INT_MAX);
    // Hexadecimal fills all 32 bits.
    EXPECT_EQ(Parsed("$FFFFFFFF"), -1);
    EXPECT_EQ(Parsed("$80000000"), INT_MIN);
    EXPECT_EQ(Parsed("-$80000000"), INT_MIN);
    EXPECT_EQ(Parsed("$00000000000000FF"), 255);
}

TEST(ParseProfileInteger, AnythingElseDoesNotConvert)
{
    for (const char *text : {"",
                             "-",
                             "+",
                             "$",
                             "-$",
                             "0x",
                             "0X",
                             "-0x",
                             "abc",
                             "12abc",
                             "1 2",
                             " 1",
                             "1.5",
                             "1e3",
                             "--1",
                             "+-1",
                             "$-1",
                             "$+1",
                             "0x-1",
                             "0x1g",
                             "$g",
                             "0b1",
                             "x1",
                             "1x",
                             "\xd9\xa3" /* Arabic-Indic three */,
                             "\xef\xbc\x91" /* fullwidth one */})
        EXPECT_EQ(Parsed(text), std::nullopt) << text;
}

TEST(ParseProfileInteger, OverflowDoesNotConvert)
{
    for (const char *text : {"2147483648", "-2147483649", "99999999999999999999", "-99999999999999999999", "$100000000",
                             "0x100000000", "$FFFFFFFFFFFFFFFFFF"})
        EXPECT_EQ(Parsed(text), std::nullopt) << text;
}

TEST_F(ProfileValues, IntegersAndBooleansReadFromTheFileWithTheirDefaults)
{
    put("[Default]\r\n"
        "usekgen=0x1\r\n"
        "fskip=abc\r\n"
        "country = 3 \r\n"
        "quoted=\"5\"\r\n"
        "empty=\r\n"
        "t1=1\r\nt2=2\r\nt3=-1\r\nt4=$0\r\nf1=0\r\nbad=yes\r\n");
    const QString s = QStringLiteral("Default");
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("usekgen"), 0), 1);
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("fskip"), 1), 1);
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("country"), 0), 3);
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("quoted"), 0), 5);
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("empty"), -1), -1);
    EXPECT_EQ(ProfileReader(file()).integer(s, QStringLiteral("missing"), -1), -1);
    EXPECT_EQ(ProfileReader(file()).integer(QStringLiteral("nosection"), QStringLiteral("usekgen"), 9), 9);
    for (const char *key : {"t1", "t2", "t3"})
        EXPECT_TRUE(ProfileReader(file()).boolean(s, QString::fromLatin1(key), false)) << key;
    for (const char *key : {"t4", "f1"})
        EXPECT_FALSE(ProfileReader(file()).boolean(s, QString::fromLatin1(key), true)) << key;
    EXPECT_TRUE(ProfileReader(file()).boolean(s, QStringLiteral("bad"), true));
    EXPECT_FALSE(ProfileReader(file()).boolean(s, QStringLiteral("bad"), false));
    EXPECT_TRUE(ProfileReader(file()).boolean(s, QStringLiteral("missing"), true));
    EXPECT_FALSE(ProfileReader(file()).boolean(s, QStringLiteral("missing"), false));
}

TEST_F(ProfileValues, ReadsFromAMissingFileOrAFolderGiveTheDefault)
{
    EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("General"), QStringLiteral("roms"), QStringLiteral("d")),
              QStringLiteral("d"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("romdeck.ini")));
    EXPECT_EQ(ProfileReader(file()).integer(QStringLiteral("Default"), QStringLiteral("fskip"), 1), 1);
}

TEST_F(ProfileValues, WritesIntegersBooleansAndTextAsTheFileExpectsThem)
{
    ProfileWrites writes;
    writes.setInteger(QStringLiteral("Default"), QStringLiteral("usekgen"), -5);
    writes.setBool(QStringLiteral("Default"), QStringLiteral("dissound"), true);
    writes.setBool(QStringLiteral("Default"), QStringLiteral("off"), false);
    writes.setText(QStringLiteral("General"), QStringLiteral("roms"), QStringLiteral("/r\u00f6ms/a b"));
    writes.setText(QStringLiteral("General"), QStringLiteral("empty"), QString());
    writes.write(file());
    EXPECT_EQ(bytes(),
              QByteArray("[Default]\r\nusekgen=-5\r\ndissound=1\r\noff=0\r\n"
                         "[General]\r\nroms=/r\xc3\xb6ms/a b\r\nempty=\r\n"));
    EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("general"), QStringLiteral("ROMS"), QString()),
              QStringLiteral("/r\u00f6ms/a b"));
    EXPECT_EQ(ProfileReader(file()).integer(QStringLiteral("Default"), QStringLiteral("usekgen"), 0), -5);
}

TEST_F(ProfileValues, ValuesWithBlankEndsOrEnclosingQuotesReadBackUnchanged)
{
    const QStringList values = {
        QStringLiteral(" lead"),
        QStringLiteral("trail "),
        QStringLiteral("  both  "),
        QStringLiteral("\tx"),
        QStringLiteral("x\t"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("'single'"),
        QStringLiteral("\"\""),
        QStringLiteral("''"),
        QStringLiteral("\""),
        QStringLiteral("'"),
        QStringLiteral("\"a'"),
        QStringLiteral("\"x\" y \"z\""),
        QStringLiteral("a \"b\" c"),
        QStringLiteral(" "),
        QStringLiteral("\"lead"),
        QStringLiteral("trail'"),
        QStringLiteral("= x ="),
        QStringLiteral("x\u001a"),
        QStringLiteral("\f"),
        QStringLiteral("plain text"),
    };
    for (const QString &value : values) {
        writeText(QStringLiteral("S"), QStringLiteral("k"), value);
        EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("#")), value)
            << value.toStdString();
    }
    // Only values that need it get the quotes.
    writeText(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a \"b\" c"));
    EXPECT_EQ(bytes(), QByteArray("[S]\r\nk=a \"b\" c\r\n"));
    writeText(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral(" lead"));
    EXPECT_EQ(bytes(), QByteArray("[S]\r\nk=\" lead\"\r\n"));
}

TEST_F(ProfileValues, LineBreaksAreRefusedAndLeaveTheFileUntouched)
{
    const std::string expected = "Unable to write to " + file().toStdString();
    // No file yet: none is created.
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\nb")), expected);
    EXPECT_FALSE(QFile::exists(file()));

    const QByteArray before("[S]\r\nk=old\r\n");
    put(before);
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\nb")), expected);
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("a\rb")), expected);
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("end\r\n")), expected);
    // A ROM file name may hold a line break: its section cannot be written.
    EXPECT_EQ(writeError(QStringLiteral("ga\nme.bin"), QStringLiteral("usekgen"), QStringLiteral("1")), expected);
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k\r"), QStringLiteral("1")), expected);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("romdeck.ini")});
}

TEST_F(ProfileValues, WritesToAMissingFolderOrAFolderRaiseTheError)
{
    const QString inMissing = QDir(folder.path()).filePath(QStringLiteral("missing/romdeck.ini"));
    try {
        ProfileWrites writes;
        writes.setInteger(QStringLiteral("S"), QStringLiteral("k"), 1);
        writes.write(inMissing);
        ADD_FAILURE() << "write into a missing folder succeeded";
    } catch (const RomdeckError &error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + inMissing.toStdString());
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("missing"))));

    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("romdeck.ini")));
    EXPECT_EQ(writeError(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")),
              "Unable to write to " + file().toStdString());
    EXPECT_TRUE(QFileInfo(file()).isDir());
}

TEST_F(ProfileValues, ReadsStopAfter1023Bytes)
{
    const QByteArray exact(1023, 'a');
    const QByteArray longer = QByteArray(1023, 'b') + "cdef";
    put("[S]\r\nexact=" + exact + "\r\nlonger=" + longer + "\r\nnext=1\r\n");
    EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("S"), QStringLiteral("exact"), QString()),
              QString::fromLatin1(exact));
    EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("S"), QStringLiteral("longer"), QString()),
              QString::fromLatin1(longer.left(1023)));
    EXPECT_EQ(ProfileReader(file()).integer(QStringLiteral("S"), QStringLiteral("next"), 0), 1);

    // A long value written by the program reads back cut at the same point.
    const QString written(3000, u'z');
    writeText(QStringLiteral("S"), QStringLiteral("long"), written);
    EXPECT_EQ(ProfileReader(file()).text(QStringLiteral("S"), QStringLiteral("long"), QString()), written.left(1023));
}

} // namespace
