#include "platform/file_name_text.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(FileNameText, AnyBytesComeBackAndTextStaysText)
{
    // Valid UTF-8 reads as usual and writes back as UTF-8.
    for (const char *name : {"", "Sonic (W) [!].bin", "\xC3\x9Cn\xC3\xAF \xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0.bin",
                             "\xF0\x9F\x8E\xAE.smd", "\xF0\x90\x82\x80.1"}) {
        EXPECT_EQ(FileNameText(name), QString::fromUtf8(name)) << name;
        EXPECT_EQ(FileNameBytes(QString::fromUtf8(name)), QByteArray(name)) << name;
    }
    // Bytes outside UTF-8: lone high bytes, cut sequences, overlong forms,
    // encoded surrogates, code points past U+10FFFF, and escapes next to a
    // character whose low surrogate lies in the escapes' range (U+10080).
    const QByteArray odd[] = {
        "Pok\xE9mon.bin",
        "\xFF\xFE",
        "\xC3",
        "a\xE3\x82.bin",
        "\xC0\x80",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\x80\x80",
        "\xF0\x90\x82\x80\x80",
        "\xE9\xF0\x90\x82\x80",
    };
    for (const QByteArray &name : odd) {
        const QString text = FileNameText(name);
        EXPECT_EQ(FileNameBytes(text), name) << name.toHex().toStdString();
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
    }
    // Names that differ only where they are no text stay apart.
    EXPECT_NE(FileNameText("a\xE9.bin"), FileNameText("a\xE8.bin"));
    EXPECT_EQ(FileNameText("a\xE9.bin").size(), 6);

    std::mt19937 random(2024);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(static_cast<int>(random() % 24), '\0');
        for (char &byte : bytes)
            byte = static_cast<char>(random() % 3 == 0 ? 0x80 + random() % 0x80 : random() % 256);
        ASSERT_EQ(FileNameBytes(FileNameText(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

} // namespace
