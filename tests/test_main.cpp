#include "support/modal_answerer.h"
#include "widgets/accessible_controls.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Every test program may create widgets: give them a screen that needs no display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A program whose folder cannot be written saves into the user's
    // configuration folder: never the real one.
    const QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InstallAccessibleControls();
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedBoxAnswerer);
    return RUN_ALL_TESTS();
}
