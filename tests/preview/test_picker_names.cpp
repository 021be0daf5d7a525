#include "preview/file_mask.h"
#include "preview/picker_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileMask, PatternsSeparatedBySemicolonsMatchIgnoringCaseAndStarDotStarTakesEveryName)
{
    for (const char *name : {"SONIC.pcx", "sonic2.PCX", "Snap000.Pcx", "snap.pcx"})
        EXPECT_TRUE(MatchesMask("SONIC*.pcx;snap*.pcx", name)) << name;
    for (const char *name : {"SONI.pcx", "xsonic.pcx", "sonic.pcx.bak", "snap000.pc", "sonic"})
        EXPECT_FALSE(MatchesMask("SONIC*.pcx;snap*.pcx", name)) << name;
    for (const char *name : {"README", "a.b.c", ".profile", "x."})
        EXPECT_TRUE(MatchesMask("*.*", name)) << name;

    EXPECT_TRUE(MatchesMask("a?c.pcx", "AbC.pcx"));
    EXPECT_FALSE(MatchesMask("a?c.pcx", "ac.pcx"));
    // A star gives back what it took when a later part does not fit.
    EXPECT_TRUE(MatchesMask("*a*b.pcx", "xaxab.xb.pcx"));
    EXPECT_TRUE(MatchesMask("game.*", "game"));
    EXPECT_FALSE(MatchesMask("game.*", "gamer"));
    EXPECT_TRUE(MatchesMask("ÉCRAN*.pcx", "écran1.PCX"));
    EXPECT_FALSE(MatchesMask("", "a.pcx"));
    EXPECT_FALSE(MatchesMask(" ; ", "a.pcx"));
}

QString FirstMask(const QString &expectedName)
{
    return ParseFilterText(PickerFilterText(expectedName)).value(0).mask;
}

TEST(PickerNames, TitleAndFileTypesComeFromTheExpectedName)
{
    EXPECT_EQ(PickerTitle("SONICT~1.pcx"), "PIX for SONICT~1 ROM");
    const QList<FilterEntry> entries = ParseFilterText(PickerFilterText("SONICT~1.pcx"));
    ASSERT_EQ(entries.size(), 3);
    const QStringList expected[] = {
        {"SONIC*.pcx,snap*.pcx", "SONIC*.pcx;snap*.pcx"}, {"All PCX (*.pcx)", "*.pcx"}, {"All files (*.*)", "*.*"}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ((QStringList{entries[i].description, entries[i].mask}), expected[i]);

    // Nine characters in the title, five in the masks, the base name ending at the first dot.
    EXPECT_EQ(PickerTitle("Sonic_the_Hedgehog.pcx"), "PIX for Sonic_the ROM");
    EXPECT_EQ(FirstMask("Sonic_the_Hedgehog.pcx"), "Sonic*.pcx;snap*.pcx");
    EXPECT_EQ(PickerBaseName("Sonic.the.Hedgehog.pcx"), "Sonic");
    EXPECT_EQ(PickerTitle(""), "PIX for  ROM");
    // Characters, not UTF-16 units: a pair is never split.
    EXPECT_EQ(FirstMask("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600x.pcx"),
              "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600*.pcx;snap*.pcx");
    // Separators in a file name split neither the text nor the mask, which still finds that name.
    EXPECT_EQ(ParseFilterText(PickerFilterText("a|b;c.pcx")).size(), 3);
    EXPECT_EQ(FirstMask("a|b;c.pcx"), "a?b?c*.pcx;snap*.pcx");
    EXPECT_TRUE(MatchesMask(FirstMask("a|b;c.pcx"), "a|b;c.pcx"));
}

TEST(PickerNames, OnlyAFileNameEndingInPcxInAnyCaseCountsAsPcx)
{
    for (const char *path : {"/p/a.pcx", "/p/picture.PcX", "b.PCX", "/p/.pcx", "/p/x.y.pcx"})
        EXPECT_TRUE(HasPcxExtension(path)) << path;
    for (const char *path : {"", "/p/a.pcx.bak", "/p.pcx/readme", "/p/apcx", "/p/a.pc"})
        EXPECT_FALSE(HasPcxExtension(path)) << path;
}

} // namespace
