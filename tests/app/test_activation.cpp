#include "support/main_window_fixture.h"

#include "platform/message_box.h"

namespace {

using ActivationTest = MainWindowFixture;

TEST_F(ActivationTest, RunsOnceAtTheFirstActivationAndNeverAgain)
{
    // The sequence reads the settings beside this test program, where there are none.
    const QString besideTests = QCoreApplication::applicationDirPath() + QStringLiteral("/romdeck.ini");
    ASSERT_FALSE(QFileInfo::exists(besideTests)) << besideTests.toStdString();
    // Without settings the working folder is the ROM folder.
    touch(workDir.filePath(QStringLiteral("a.bin")));
    touch(workDir.filePath(QStringLiteral("b.smd")));

    ModalAnswerer answerer;
    form->show();
    ASSERT_TRUE(WaitUntil([this] { return form->windowTitle() == QStringLiteral("Romdeck - 2 ROMs"); }))
        << form->windowTitle().toStdString();
    EXPECT_EQ(ProgramFolder, QCoreApplication::applicationDirPath());
    EXPECT_EQ(RomFolder, workFolder);
    EXPECT_EQ(form->lstdir->itemIndex(), 0);
    EXPECT_EQ(form->focusWidget(), form->lstdir);
    const auto locationsDialogsSeen = [&] { return answerer.seen().count(QStringLiteral("TForm3")); };
    const qsizetype dialogsAtStart = locationsDialogsSeen();

    // Marks that a second load or a second scan would undo.
    locations->cdromloc->setText(QStringLiteral("typed, not loaded"));
    touch(workDir.filePath(QStringLiteral("c.bin")));

    // Modal windows and a message box come and go; another window takes the
    // focus and gives it back.
    QTest::mouseClick(form->butinfo, Qt::LeftButton);
    QTest::mouseClick(form->butsetup, Qt::LeftButton);
    ShowMessage(MessageType::Information, QStringLiteral("Hello"));
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(WaitUntil([&] { return other.isActiveWindow(); }));
    form->activateWindow();
    EXPECT_TRUE(WaitUntil([this] { return form->isActiveWindow(); }));
    QTest::qWait(50);

    EXPECT_EQ(answerer.seen().size(), dialogsAtStart + 3) << answerer.seen().join(u',').toStdString();
    EXPECT_EQ(locationsDialogsSeen(), dialogsAtStart + 1) << "only the setup button opened it";
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 2 ROMs"));
    EXPECT_EQ(form->lstdir->count(), 2);
    EXPECT_EQ(locations->cdromloc->text(), QStringLiteral("typed, not loaded"));
}

} // namespace
