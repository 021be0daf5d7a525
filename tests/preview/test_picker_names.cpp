#include "preview/file_mask.h"
#include "preview/picker_names.h"

#include <gtest/gtest.h>

namespace {

TEST(FileMask, PatternsSeparatedBySemicolonsMatchIgnoringCaseAndStarDotStarTakesEveryName)
{
    const QString sonic = QStringLiteral("SONIC*.pcx;snap*.pcx");
    for (const char *name : {"SONIC.pcx", "sonic2.PCX", "Snap000.Pcx", "snap.pcx"})
        EXPECT_TRUE(MatchesMask(sonic, QString::fromLatin1(name))) << name;
    for (const char *name : {"SONI.pcx", "xsonic.pcx", "sonic.pcx.bak", "snap000.pc", "sonic"})
        EXPECT_FALSE(MatchesMask(sonic, QString::fromLatin1(name))) << name;

    const QString all = QStringLiteral("*.*");
    for (const char *name : {"README", "a.b.c", ".profile", "x."})
        EXPECT_TRUE(MatchesMask(all, QString::fromLatin1(name))) << name;

    EXPECT_TRUE(MatchesMask(QStringLiteral("a?c.pcx"), QStringLiteral("AbC.pcx")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("a?c.pcx"), QStringLiteral("ac.pcx")));
    // A star gives back what it took when a later part does not fit.
    EXPECT_TRUE(MatchesMask(QStringLiteral("*a*b.pcx"), QStringLiteral("xaxab.xb.pcx")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("game.*"), QStringLiteral("game")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("game.*"), QStringLiteral("gamer")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("ÉCRAN*.pcx"), QStringLiteral("écran1.PCX")));
    EXPECT_FALSE(MatchesMask(QString(), QStringLiteral("a.pcx")));
    EXPECT_FALSE(MatchesMask(QStringLiteral(" ; "), QStringLiteral("a.pcx")));
}

TEST(PickerNames, TitleAndFileTypesComeFromTheExpectedName)
{
    EXPECT_EQ(PickerTitle(QStringLiteral("SONICT~1.pcx")), QStringLiteral("PIX for SONICT~1 ROM"));
    const QList<FilterEntry> entries = ParseFilterText(PickerFilterText(QStringLiteral("SONICT~1.pcx")));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].description, QStringLiteral("SONIC*.pcx,snap*.pcx"));
    EXPECT_EQ(entries[0].mask, QStringLiteral("SONIC*.pcx;snap*.pcx"));
    EXPECT_EQ(entries[1].description, QStringLiteral("All PCX (*.pcx)"));
    EXPECT_EQ(entries[1].mask, QStringLiteral("*.pcx"));
    EXPECT_EQ(entries[2].description, QStringLiteral("All files (*.*)"));
    EXPECT_EQ(entries[2].mask, QStringLiteral("*.*"));

    // A long name is cut to nine characters in the title, five in the masks;
    // the base name ends at the first dot.
    EXPECT_EQ(PickerTitle(QStringLiteral("Sonic_the_Hedgehog.pcx")), QStringLiteral("PIX for Sonic_the ROM"));
    EXPECT_EQ(PickerBaseName(QStringLiteral("Sonic.the.Hedgehog.pcx")), QStringLiteral("Sonic"));
    EXPECT_TRUE(PickerFilterText(QStringLiteral("Sonic_the_Hedgehog.pcx")).startsWith(QStringLiteral("Sonic*.pcx,")));
    EXPECT_EQ(PickerTitle(QString()), QStringLiteral("PIX for  ROM"));
    // Characters, not UTF-16 units: a pair is never split.
    const QString faces = QStringLiteral("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600x.pcx");
    EXPECT_EQ(ParseFilterText(PickerFilterText(faces))[0].mask,
              QStringLiteral("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600*.pcx;snap*.pcx"));

    // Separators in a file name neither split the text nor the mask, and the
    // mask still finds that name.
    const QList<FilterEntry> odd = ParseFilterText(PickerFilterText(QStringLiteral("a|b;c.pcx")));
    ASSERT_EQ(odd.size(), 3);
    EXPECT_EQ(odd[0].mask, QStringLiteral("a?b?c*.pcx;snap*.pcx"));
    EXPECT_TRUE(MatchesMask(odd[0].mask, QStringLiteral("a|b;c.pcx")));
    EXPECT_EQ(odd[2].mask, QStringLiteral("*.*"));
}

TEST(PickerNames, OnlyAFileNameEndingInPcxInAnyCaseCountsAsPcx)
{
    for (const char *path : {"/p/a.pcx", "/p/picture.PcX", "b.PCX", "/p/.pcx", "/p/x.y.pcx"})
        EXPECT_TRUE(HasPcxExtension(path)) << path;
    for (const char *path : {"", "/p/a.pcx.bak", "/p.pcx/readme", "/p/apcx", "/p/a.pc"})
        EXPECT_FALSE(HasPcxExtension(path)) << path;
}

} // namespace
