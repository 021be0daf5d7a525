#include "support/modal_answerer.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test program may create widgets: give them a screen that needs no display.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnexpectedBoxAnswerer);
    return RUN_ALL_TESTS();
}
