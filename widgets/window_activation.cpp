#include "widgets/window_activation.h"

#include "platform/handler_guard.h"

#include <QWidget>

WindowActivation::WindowActivation(QWidget &window, std::function<void()> sequence, Runs runs)
    : window_(window), sequence_(std::move(sequence)), runs_(runs)
{
}

void WindowActivation::Shown()
{
    if (runs_ == Runs::OncePerRun && ran_)
        return;
    // Showings that come faster than the event loop share one run.
    pending_ = true;
    QueueHandler(&window_, [this] {
        if (!pending_ || !window_.isVisible())
            return;
        pending_ = false;
        ran_ = true;
        sequence_();
    });
}
