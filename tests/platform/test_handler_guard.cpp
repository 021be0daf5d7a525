#include "platform/errors.h"
#include "platform/handler_guard.h"
#include "platform/message_box.h"
#include "support/message_box_probe.h"
#include "support/modal_answerer.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// A handler that records its steps and fails on the text "bad".
struct Receiver : QObject
{
    void take(const QString &text)
    {
        steps << text;
        if (text == QStringLiteral("bad"))
            throw RomdeckError("Bad text: Pokémon"); // UTF-8, as the file names in error texts
        steps << QStringLiteral("after ") + text;
    }
    QStringList steps;
};

// Answers every message box with its first button and notes what it showed.
struct BoxRecorder
{
    BoxRecorder()
    {
        for (int i = 0; i < 4; ++i)
            answerer.thenAnswer([this](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                ASSERT_NE(box, nullptr);
                shown << DescribeMessageBox(*box);
                box->buttons().front()->click();
            });
    }
    ModalAnswerer answerer;
    QStringList shown;
};

TEST(HandlerGuard, AnErrorEndsItsHandlerInTheGeneralErrorBoxAndTheProgramGoesOn)
{
    const QString title = ProgramTitle();
    // The test program's file name, first letter upper case, the rest lower case.
    EXPECT_EQ(title, QStringLiteral("Test_platform"));
    const QString errorBox =
        title + QStringLiteral("|%1|") + QString::number(int(QMessageBox::Critical)) + QStringLiteral("|OK");

    BoxRecorder boxes;
    int steps = 0;
    RunHandler([&] {
        ++steps;
        throw IoError(2);
    });
    RunHandler([&] { ++steps; });
    EXPECT_EQ(steps, 2);

    // Through a signal: the error ends that one call, the sender and the later calls go on.
    QLineEdit edit;
    Receiver receiver;
    ConnectHandler(&edit, &QLineEdit::textChanged, &receiver, &Receiver::take);
    edit.setText(QStringLiteral("bad"));
    EXPECT_EQ(edit.text(), QStringLiteral("bad"));
    edit.setText(QStringLiteral("good"));
    EXPECT_EQ(receiver.steps, (QStringList{"bad", "good", "after good"}));

    EXPECT_EQ(boxes.shown, (QStringList{errorBox.arg("File not found."), errorBox.arg(u"Bad text: Pokémon.")}));
}

} // namespace
