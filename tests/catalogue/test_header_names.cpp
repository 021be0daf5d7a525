#include "catalogue/header_names.h"
#include "platform/errors.h"
#include "support/process_probes.h"
#include "support/rom_images.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

using namespace rom_images;

namespace {

const QByteArray kAlphabet48 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUV";

// The bytes of a literal, NULs included.
template <std::size_t N>
QByteArray Bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

class HeaderNames : public ::testing::Test
{
protected:
    QByteArray path(const QString &name) const { return QFile::encodeName(dir_.filePath(name)); }

    QByteArray write(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(WriteFile(dir_.filePath(name), bytes));
        return path(name);
    }

    QTemporaryDir dir_;
    QByteArray headerName = "left over from the last read";
};

} // namespace

TEST_F(HeaderNames, PlainTitleEndsAtFirstNulOrAt47Characters)
{
    // 48 letters with no NUL: the 48th is cut.
    QString text = ReadBinHeaderName(write("full.bin", Cartridge(kAlphabet48, "OTHER")), headerName);
    EXPECT_EQ(headerName, kAlphabet48.left(47));
    EXPECT_EQ(text, QString::fromLatin1(kAlphabet48.left(47)));

    // Exactly 47 letters and a NUL: nothing lost.
    text = ReadBinHeaderName(write("full47.bin", Cartridge(kAlphabet48.left(47), "")), headerName);
    EXPECT_EQ(headerName, kAlphabet48.left(47));

    // A NUL in the middle ends the title; what follows it does not count.
    text = ReadBinHeaderName(write("nul.bin", Cartridge(Bytes("SONIC\0GARBAGE"), "")), headerName);
    EXPECT_EQ(headerName, "SONIC");
    EXPECT_EQ(text, "SONIC");

    // The plain reader takes the first title, never the second.
    ReadBinHeaderName(write("two.bin", Cartridge("FIRST", "SECOND")), headerName);
    EXPECT_EQ(headerName, "FIRST");
}

TEST_F(HeaderNames, PlainTitleKeepsBlanksAndControlBytes)
{
    // Padded with spaces: the trailing spaces stay, up to 47 characters.
    QString text = ReadBinHeaderName(write("pad.bin", Cartridge(Padded("SONIC"), "")), headerName);
    EXPECT_EQ(headerName, "SONIC" + QByteArray(42, ' '));
    EXPECT_EQ(text, QStringLiteral("SONIC") + QString(42, u' '));

    // Leading blanks and control bytes are not trimmed either.
    text = ReadBinHeaderName(write("ctl.bin", Cartridge("  \t\x01GAME \x1f", "")), headerName);
    EXPECT_EQ(headerName, "  \t\x01GAME \x1f");
    EXPECT_EQ(text, QStringLiteral("  \t\x01GAME \x1f"));
}

TEST_F(HeaderNames, PlainTitleFallsBackToTheFileName)
{
    // A title starting with NUL.
    QString text = ReadBinHeaderName(write("Nul First (World).bin", Cartridge(Bytes("\0TITLE"), "")), headerName);
    EXPECT_TRUE(headerName.isEmpty());
    EXPECT_EQ(text, "Nul First (World).bin");

    // Files that do not reach the title: empty, and one byte short of it.
    text = ReadBinHeaderName(write("empty.bin", QByteArray()), headerName);
    EXPECT_TRUE(headerName.isEmpty());
    EXPECT_EQ(text, "empty.bin");
    text = ReadBinHeaderName(write("short.1", Cartridge("TITLE", "").left(0x120)), headerName);
    EXPECT_TRUE(headerName.isEmpty());
    EXPECT_EQ(text, "short.1");

    // A file ending inside the title gives the part it reaches.
    text = ReadBinHeaderName(write("partial.bin", Cartridge("TITLE", "").left(0x120 + 3)), headerName);
    EXPECT_EQ(headerName, "TIT");
    EXPECT_EQ(text, "TIT");

    // The file name is cut to 47 characters.
    const QString longName = QString(44, u'n') + QStringLiteral(".bin.bin");
    text = ReadBinHeaderName(write(longName, QByteArray()), headerName);
    EXPECT_EQ(text, longName.left(47));
    EXPECT_EQ(text.size(), 47);
}

TEST_F(HeaderNames, SmdTitleIsBuiltFromBothRunsAndTrimmed)
{
    // A, B, C, D then spaces: even run A C, odd run B D.
    QString text = ReadSmdHeaderName(write("abcd.smd", SmdImage(Cartridge("", Padded("ABCD")))), headerName);
    EXPECT_EQ(headerName, "ABCD");
    EXPECT_EQ(text, "ABCD");

    // 48 characters: cut to 47, in cartridge order.
    ReadSmdHeaderName(write("full.smd", SmdImage(Cartridge("", kAlphabet48))), headerName);
    EXPECT_EQ(headerName, kAlphabet48.left(47));

    // The SMD reader takes the second title, never the first.
    ReadSmdHeaderName(write("two.smd", SmdImage(Cartridge("FIRST", "SECOND"))), headerName);
    EXPECT_EQ(headerName, "SECOND");

    // NUL and control bytes inside the title are kept; at the ends every
    // byte from 0 to 32 goes.
    const QByteArray title = Bytes("\x05\0 \tAB\0C\x01"
                                   "D \x1f\0\0");
    const QByteArray kept = Bytes("AB\0C\x01"
                                  "D");
    text = ReadSmdHeaderName(write("ctl.smd", SmdImage(Cartridge("", title))), headerName);
    EXPECT_EQ(headerName, kept);
    EXPECT_EQ(text, QString::fromLatin1(kept));
}

TEST_F(HeaderNames, SmdTitleOfShortFilesAndTheFileNameFallback)
{
    const QByteArray image = SmdImage(Cartridge("", kAlphabet48));
    // Ends 3 bytes into the even run: all the odd run, three even bytes.
    ReadSmdHeaderName(write("even3.smd", image.left(8872 + 3)), headerName);
    EXPECT_EQ(headerName, "abcdefhjlnprtvxzBDFHJLNPRTV");
    // Ends 10 bytes into the odd run: those alone.
    ReadSmdHeaderName(write("odd10.smd", image.left(680 + 10)), headerName);
    EXPECT_EQ(headerName, "bdfhjlnprt");

    // Reaching neither run, or a title of blanks only: the file name.
    QString text = ReadSmdHeaderName(write("tiny.smd", image.left(680)), headerName);
    EXPECT_TRUE(headerName.isEmpty());
    EXPECT_EQ(text, "tiny.smd");
    text = ReadSmdHeaderName(write("Blank (E).smd", SmdImage(Cartridge("FIRST", Padded(" ")))), headerName);
    EXPECT_TRUE(headerName.isEmpty());
    EXPECT_EQ(text, "Blank (E).smd");

    // The SMD fallback is cut to 48 characters, one more than the plain one.
    const QString longName = QString(56, u's') + QStringLiteral(".smd");
    text = ReadSmdHeaderName(write(longName, QByteArray()), headerName);
    EXPECT_EQ(text, longName.left(48));
    EXPECT_EQ(text.size(), 48);
}

TEST_F(HeaderNames, HighBytesReachTheHeaderNameUnchanged)
{
    // 0xA0 and 0xFF at the ends must survive the SMD trim (they are no blanks).
    const QByteArray high = Bytes("\xA0\x80\xE9t\xE9\x9F\x81\xFF");
    QString text = ReadSmdHeaderName(write("high.smd", SmdImage(Cartridge("", high))), headerName);
    EXPECT_EQ(headerName, high);
    EXPECT_EQ(text, QStringLiteral(u"\u00A0\u20AC\u00E9t\u00E9\u0178\u0081\u00FF"));

    text = ReadBinHeaderName(write("high.bin", Cartridge(high, "")), headerName);
    EXPECT_EQ(headerName, high);
    EXPECT_EQ(text, QStringLiteral(u"\u00A0\u20AC\u00E9t\u00E9\u0178\u0081\u00FF"));
}

TEST_F(HeaderNames, UnreadableFilesRaiseTheirIoErrorNamingTheFile)
{
    const auto expectError = [&](const QByteArray &file, int code, const std::string &text) {
        for (const bool smd : {false, true}) {
            SCOPED_TRACE((smd ? "smd " : "plain ") + file.toStdString());
            try {
                smd ? ReadSmdHeaderName(file, headerName) : ReadBinHeaderName(file, headerName);
                ADD_FAILURE() << "read";
            } catch (const IoError &error) {
                EXPECT_EQ(error.code(), code);
                EXPECT_EQ(error.what(), text);
            }
        }
    };
    const QByteArray missing = path("missing.bin");
    expectError(missing, 2, "File not found: " + missing.toStdString());
    // A link to nothing, as a renamed collection leaves behind.
    const QByteArray dangling = path("dangling.bin");
    ASSERT_EQ(::symlink("gone.bin", dangling.constData()), 0);
    expectError(dangling, 2, "File not found: " + dangling.toStdString());
    // A folder named like a ROM cannot be opened as a file, as on Windows.
    ASSERT_TRUE(QDir(dir_.path()).mkpath("folder.bin"));
    expectError(path("folder.bin"), 5, "File access denied: " + path("folder.bin").toStdString());
    // A path through a file as if it were a folder.
    write("plain.bin", Cartridge("X", ""));
    expectError(path("plain.bin/inner.bin"), 3, "Invalid filename: " + path("plain.bin/inner.bin").toStdString());
    // A name that is no valid text shows as far as it is text.
    const QByteArray noText = QFile::encodeName(dir_.path()) + "/Pok\xE9mon.bin";
    expectError(noText, 2, "File not found: " + QFile::decodeName(noText).toStdString());
}

// A fifo named like a ROM must be refused at once, not wait for a writer.
TEST_F(HeaderNames, FifoNamedLikeARomDoesNotHang)
{
    const QByteArray fifo = path("pipe.bin");
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] {
        QByteArray name;
        try {
            ReadBinHeaderName(fifo, name);
            return 0;
        } catch (const IoError &error) {
            return error.code();
        }
    });
    if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Free the blocked reader so that the test ends, then fail.
        const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        ADD_FAILURE() << "reading a fifo blocked";
    }
    EXPECT_EQ(reading.get(), 5);
}

// Every read closes its file, also when it fails.
TEST_F(HeaderNames, NoFileStaysOpen)
{
    const auto openFiles = OpenDescriptors;
    const QByteArray bin = write("a.bin", Cartridge("A", ""));
    const QByteArray smd = write("a.smd", SmdImage(Cartridge("", "A")));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("dir.smd"));
    const qsizetype before = openFiles();
    for (int i = 0; i < 200; ++i) {
        ReadBinHeaderName(bin, headerName);
        ReadSmdHeaderName(smd, headerName);
        EXPECT_THROW(ReadSmdHeaderName(path("dir.smd"), headerName), IoError);
        EXPECT_THROW(ReadBinHeaderName(path("none.bin"), headerName), IoError);
    }
    EXPECT_EQ(openFiles(), before);
}
