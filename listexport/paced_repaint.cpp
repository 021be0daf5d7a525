#include "listexport/paced_repaint.h"

#include "platform/handler_guard.h"

PacedRepaint::PacedRepaint(QWidget *widget, int pauseMs, std::function<void()> beforeRepaint)
    : widget_(widget), wasEnabled_(widget->updatesEnabled())
{
    widget->setUpdatesEnabled(false);
    timer_.setInterval(pauseMs);
    ConnectHandler(&timer_, &QTimer::timeout, &timer_, [this, beforeRepaint] {
        if (!widget_ || !wasEnabled_)
            return;
        if (beforeRepaint)
            beforeRepaint();
        widget_->setUpdatesEnabled(true);
        widget_->repaint();
        widget_->setUpdatesEnabled(false);
    });
    timer_.start();
}

PacedRepaint::~PacedRepaint()
{
    if (widget_)
        widget_->setUpdatesEnabled(wasEnabled_);
}
