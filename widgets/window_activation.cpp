#include "widgets/window_activation.h"

#include "platform/handler_guard.h"

#include <QShowEvent>
#include <QWidget>

WindowActivation::WindowActivation(QWidget &window, std::function<void()> sequence, Runs runs)
    : window_(window), sequence_(std::move(sequence)), runs_(runs)
{
}

void WindowActivation::Shown(const QShowEvent &event)
{
    if (event.spontaneous() || (runs_ == Runs::OncePerRun && ran_))
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
