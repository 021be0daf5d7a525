#include "support/main_window_fixture.h"

#include "widgets/radio_group.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStyleOptionButton>
#include <QToolButton>

namespace {

class RomOptionsTest : public MainWindowFixture
{
protected:
    // The panel in Default mode showing `defaults`, which are the Default set.
    void startWithDefaults(const OptionSet &defaults)
    {
        panel->putDefaultDown();
        DefaultOptions = defaults;
        panel->setValues(DefaultOptions);
        ASSERT_EQ(panel->values(), defaults);
    }

    void expectMode(bool defaultDown) const
    {
        EXPECT_EQ(panel->butdefault->isChecked(), defaultDown);
        EXPECT_EQ(panel->butcurrent->isChecked(), !defaultDown);
    }

    void select(int row) const
    {
        form->lstdir->setItemIndex(row);
        form->lstdirClick();
    }
};

// Where a user clicks a radio item or the check box: on its indicator.
void ClickIndicator(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement indicator =
        qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->style()->subElementRect(indicator, &option, button).center());
}

TEST_F(RomOptionsTest, TheRomsOwnSetGoesInWithCurrentDownAndNeverReachesTheDefaultSet)
{
    putSettings("[Default]\r\nusekgen=1\r\n"
                "[game.bin]\r\nusekgen=1\r\nfskip=3\r\ncountry=2\r\ndissound=1\r\nextracmdline=own\r\n");
    const OptionSet defaults{0, 2, 1, false, QStringLiteral("def")};
    startWithDefaults(defaults);

    // Written by hand in lower case, found for the short name in upper case.
    form->LoadRomOptions(QStringLiteral("GAME.BIN"));
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 3, 2, true, QStringLiteral("own")}));
    EXPECT_EQ(DefaultOptions, defaults);

    form->LoadRomOptions(QStringLiteral("OTHER.BIN"));
    expectMode(true);
    EXPECT_EQ(panel->values(), defaults);
    EXPECT_EQ(DefaultOptions, defaults);
}

TEST_F(RomOptionsTest, ASectionWithoutAUsableUsekgenCountsAsAbsent)
{
    putSettings("[OWN.BIN]\r\nusekgen=0\r\nfskip=4\r\ncountry=3\r\n"
                "[FSKIP.BIN]\r\nfskip=4\r\ncountry=3\r\ndissound=1\r\n"
                "[MINUS.BIN]\r\nusekgen=-1\r\nfskip=4\r\n"
                "[WORD.BIN]\r\nusekgen=genecyst\r\nfskip=4\r\n"
                "[EMPTY.BIN]\r\nusekgen=\r\nfskip=4\r\n");
    const OptionSet defaults{1, 2, 1, true, QStringLiteral("def")};
    startWithDefaults(defaults);
    for (const char *section : {"FSKIP.BIN", "MINUS.BIN", "WORD.BIN", "EMPTY.BIN"}) {
        SCOPED_TRACE(section);
        form->LoadRomOptions(QStringLiteral("OWN.BIN"));
        expectMode(false);
        form->LoadRomOptions(QString::fromLatin1(section));
        expectMode(true);
        EXPECT_EQ(panel->values(), defaults);
        EXPECT_EQ(DefaultOptions, defaults);
    }
}

TEST_F(RomOptionsTest, StoredValuesAreClampedAndMissingKeysTakeTheirDefaults)
{
    putSettings("[HIGH.BIN]\r\nusekgen=5\r\nfskip=7\r\ncountry=9\r\ndissound=3\r\nextracmdline=x\r\n"
                "[LOW.BIN]\r\nusekgen=-7\r\nfskip=0\r\ncountry=-3\r\n"
                "[SPARSE.BIN]\r\nusekgen=$1\r\n");
    const OptionSet defaults{0, 2, 1, false, QString()};
    startWithDefaults(defaults);

    form->LoadRomOptions(QStringLiteral("HIGH.BIN"));
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 4, 3, true, QStringLiteral("x")}));

    form->LoadRomOptions(QStringLiteral("LOW.BIN"));
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{-1, 1, -1, false, QString()}));
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(panel->rademu->item(i)->isChecked());

    form->LoadRomOptions(QStringLiteral("HIGH.BIN"));
    form->LoadRomOptions(QStringLiteral("SPARSE.BIN"));
    EXPECT_EQ(panel->values(), (OptionSet{1, 1, 0, false, QString()}));
    EXPECT_EQ(DefaultOptions, defaults);
}

TEST_F(RomOptionsTest, PanelChangesReachTheDefaultSetOnlyWhileDefaultIsDown)
{
    emulatorBesideProgram();
    showActivated();
    ASSERT_EQ(form->lstdir->count(), 0);
    startWithDefaults(OptionSet{0, 1, 0, false, QString()});

    ClickIndicator(panel->rademu->item(1));
    QTest::keyClick(panel->tbfskip, Qt::Key_Right);
    ClickIndicator(panel->rgcountry->item(2));
    ClickIndicator(panel->chkdissound);
    QTest::mouseClick(panel->Editextracmdline, Qt::LeftButton);
    QTest::keyClicks(panel->Editextracmdline, QStringLiteral("-z"));
    const OptionSet edited{1, 2, 2, true, QStringLiteral("-z")};
    EXPECT_EQ(panel->values(), edited);
    EXPECT_EQ(DefaultOptions, edited);

    // No entry selected: "Current" goes down and the values stay.
    QTest::mouseClick(panel->butcurrent, Qt::LeftButton);
    expectMode(false);
    EXPECT_EQ(panel->values(), edited);

    ClickIndicator(panel->rademu->item(0));
    QTest::keyClick(panel->tbfskip, Qt::Key_End);
    ClickIndicator(panel->rgcountry->item(3));
    ClickIndicator(panel->chkdissound);
    QTest::keyClicks(panel->Editextracmdline, QStringLiteral("y"));
    EXPECT_EQ(panel->values(), (OptionSet{0, 4, 3, false, QStringLiteral("-zy")}));
    EXPECT_EQ(DefaultOptions, edited);

    QTest::mouseClick(panel->butdefault, Qt::LeftButton);
    expectMode(true);
    EXPECT_EQ(panel->values(), edited);
    EXPECT_EQ(DefaultOptions, edited);
}

TEST_F(RomOptionsTest, ModeButtonsRunTheirHandlersOnClicksOnlyAlsoWhenAlreadyDown)
{
    putSettings("[OWN.BIN]\r\nusekgen=1\r\nfskip=3\r\ncountry=2\r\ndissound=1\r\nextracmdline=own\r\n");
    emulatorBesideProgram();
    showActivated();
    addEntry(QStringLiteral("Own"), QStringLiteral("/roms/OWN.BIN"));
    const OptionSet defaults{0, 2, 1, false, QStringLiteral("def")};
    startWithDefaults(defaults);
    form->lstdir->setItemIndex(0);
    QSignalSpy defaultClicks(panel, &OptionsPanel::defaultClicked);
    QSignalSpy currentClicks(panel, &OptionsPanel::currentClicked);

    // From code: the button goes down and nothing loads.
    panel->putCurrentDown();
    expectMode(false);
    EXPECT_EQ(panel->values(), defaults);
    panel->putDefaultDown();
    DefaultOptions.fskip = 4;
    expectMode(true);
    EXPECT_EQ(panel->values(), defaults);
    EXPECT_EQ(defaultClicks.count() + currentClicks.count(), 0);

    // "Default" pressed while down puts the Default set in again.
    QTest::mouseClick(panel->butdefault, Qt::LeftButton);
    expectMode(true);
    EXPECT_EQ(panel->tbfskip->value(), 4);
    EXPECT_EQ(defaultClicks.count(), 1);

    QTest::mouseClick(panel->butcurrent, Qt::LeftButton);
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 3, 2, true, QStringLiteral("own")}));

    // "Current" pressed while down reloads the stored set and drops the edits.
    ClickIndicator(panel->rademu->item(0));
    QTest::keyClicks(panel->Editextracmdline, QStringLiteral("!"));
    QTest::mouseClick(panel->butcurrent, Qt::LeftButton);
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 3, 2, true, QStringLiteral("own")}));
    EXPECT_EQ(currentClicks.count(), 2);
    EXPECT_EQ(DefaultOptions, (OptionSet{0, 4, 1, false, QStringLiteral("def")}));
}

TEST_F(RomOptionsTest, CurrentAndDefaultPressedForRomsWithAndWithoutTheirOwnSet)
{
    putSettings("[own.bin]\r\nusekgen=1\r\nfskip=7\r\ncountry=2\r\ndissound=1\r\nextracmdline=own\r\n");
    emulatorBesideProgram();
    showActivated();
    addEntry(QStringLiteral("Game"), QStringLiteral("/roms/GAME.BIN"));
    addEntry(QStringLiteral("Own"), QStringLiteral("/roms/OWN.BIN"));
    const OptionSet defaults{0, 3, 1, false, QStringLiteral("def")};
    startWithDefaults(defaults);
    const QByteArray file = settingsBytes();

    // A ROM without its own set: "Current" shows a copy of the Default set.
    select(0);
    expectMode(true);
    QTest::mouseClick(panel->butcurrent, Qt::LeftButton);
    expectMode(false);
    EXPECT_EQ(panel->values(), defaults);
    EXPECT_EQ(settingsBytes(), file) << "no handler writes the file";

    // A ROM with its own set: "Default" shows the Default set, the stored set stays.
    select(1);
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 4, 2, true, QStringLiteral("own")}));
    ClickIndicator(panel->rgcountry->item(0));
    EXPECT_EQ(DefaultOptions, defaults);
    QTest::mouseClick(panel->butdefault, Qt::LeftButton);
    expectMode(true);
    EXPECT_EQ(panel->values(), defaults);
    EXPECT_EQ(DefaultOptions, defaults);
    EXPECT_EQ(settingsBytes(), file);
    select(1);
    expectMode(false);
    EXPECT_EQ(panel->values(), (OptionSet{1, 4, 2, true, QStringLiteral("own")}));

    // With Default down, a change shows for every ROM without a set of its own.
    select(0);
    QTest::keyClick(panel->tbfskip, Qt::Key_Right);
    EXPECT_EQ(DefaultOptions.fskip, 4);
    addEntry(QStringLiteral("Zed"), QStringLiteral("/roms/ZED.BIN"));
    select(2);
    EXPECT_EQ(panel->tbfskip->value(), 4);
}

} // namespace
