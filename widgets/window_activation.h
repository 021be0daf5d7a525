#pragma once
#include <functional>

class QShowEvent;
class QWidget;

// A window's activation sequence, run once the window is up: queued from the
// window's showing, so that it runs with the window on the screen (an error it
// raises shows over the open window, a table it fills is seen growing), and
// dropped when the window is hidden again before that. A message box or a
// modal window closing does not show the window anew, so it never runs the
// sequence again.
class WindowActivation
{
public:
    enum class Runs { EveryShowing, OncePerRun };

    WindowActivation(QWidget &window, std::function<void()> sequence, Runs runs);

    // From the window's showEvent. A showing that the window system makes of
    // itself (a minimised window restored) is no new showing: the sequence
    // would refill what the user left as it was.
    void Shown(const QShowEvent &event);

private:
    QWidget &window_;
    std::function<void()> sequence_;
    Runs runs_;
    bool pending_ = false; // a showing waits for its sequence
    bool ran_ = false;
};
