#include "support/main_window_fixture.h"
#include "support/message_box_probe.h"

#include <unistd.h>

namespace {

using HandlerErrors = MainWindowFixture;

// Errors raised by the main window's handlers, as Qt delivers the events that
// start them: each shows the general error box, and the program runs on.
TEST_F(HandlerErrors, ShowTheGeneralErrorBoxAndTheProgramRunsOn)
{
    // The start-up scan meets a ROM name whose file is gone.
    touch(workDir.filePath(QStringLiteral("a.bin")));
    ASSERT_EQ(symlink("gone", workDir.filePath(QStringLiteral("b.bin")).toLocal8Bit().constData()), 0);
    emulatorBesideProgram();
    QStringList boxes;
    ModalAnswerer answerer;
    for (int i = 0; i < 4; ++i)
        answerer.thenAnswer([&](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes << DescribeMessageBox(*box);
                box->buttons().front()->click();
            } else {
                modal->close(); // the locations dialog: no emulator beside this test program
            }
        });
    const QString errorBox =
        QStringLiteral("Test_main_window|%1|") + QString::number(int(QMessageBox::Critical)) + QStringLiteral("|OK");

    form->show();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.isEmpty(); })) << answerer.seen().join(u',').toStdString();
    ProgramFolder = programDir.path();
    // Only the start of the text and its full stop matter here, not how it names the file.
    const QStringList first = boxes[0].split(u'|');
    ASSERT_EQ(first.size(), 4) << boxes[0].toStdString();
    EXPECT_EQ(errorBox.arg(QStringLiteral("%1")), first[0] + QStringLiteral("|%1|") + first[2] + u'|' + first[3]);
    EXPECT_TRUE(first[1].startsWith(QStringLiteral("File not found")) && first[1].endsWith(u'.'))
        << boxes[0].toStdString();

    // A refused save ends the close command: the window stays, and the next commands run.
    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("romdeck.ini")));
    QTest::mouseClick(form->butclose, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1], errorBox.arg(QStringLiteral("Unable to write to ") + settingsPath() + u'.'));
    EXPECT_TRUE(form->isVisible());
    QTest::mouseClick(form->butoptions, Qt::LeftButton);
    EXPECT_TRUE(form->panopt->isVisible());

    ASSERT_TRUE(QDir(programDir.path()).rmdir(QStringLiteral("romdeck.ini")));
    QTest::mouseClick(form->butclose, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(boxes.size(), 2);
}

} // namespace
