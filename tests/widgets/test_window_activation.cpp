#include "widgets/window_activation.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <QtTest/qtestspontaneevent.h>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Shows and hides the window as the steps say ('s' show, 'h' hide, 'e' let
// events run, 'r' the window system shows it again, as when restored from
// minimised) and counts the sequence's runs.
int Runs(WindowActivation::Runs runs, const std::string &steps)
{
    struct Window : QWidget
    {
        explicit Window(WindowActivation::Runs runs)
            : activation(
                  *this, [this] { ++count; }, runs)
        {
        }
        void showEvent(QShowEvent *event) override { activation.Shown(*event); }
        int count = 0;
        WindowActivation activation;
    } window(runs);
    for (const char step : steps) {
        if (step == 's')
            window.show();
        else if (step == 'h')
            window.hide();
        else if (step == 'r') {
            QShowEvent restored;
            QSpontaneKeyEvent::setSpontaneous(&restored);
            window.showEvent(&restored); // sendEvent would make it no longer spontaneous
        }
        else
            QCoreApplication::processEvents();
    }
    return window.count;
}

TEST(WindowActivation, RunsOnceTheWindowIsUpOncePerShowingOrOncePerRun)
{
    const struct
    {
        const char *steps;
        int everyShowing, oncePerRun;
    } cases[] = {
        {"s", 0, 0},        // not before the window is up
        {"se", 1, 1},       // once the events run
        {"seee", 1, 1},     // once per showing
        {"sehse", 2, 1},    // again after a new showing
        {"shse", 1, 1},     // hidden and shown before the window was up: one run
        {"she", 0, 0},      // hidden before: none
        {"shesehse", 2, 1}, // until the next showing
        {"sereee", 1, 1},   // not when the window system shows it again
    };
    for (const auto &one : cases) {
        SCOPED_TRACE(one.steps);
        EXPECT_EQ(Runs(WindowActivation::Runs::EveryShowing, one.steps), one.everyShowing);
        EXPECT_EQ(Runs(WindowActivation::Runs::OncePerRun, one.steps), one.oncePerRun);
    }
}

} // namespace
