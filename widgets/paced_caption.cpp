#include "widgets/paced_caption.h"

#include "platform/handler_guard.h"

#include <QWidget>

PacedCaption::PacedCaption(QWidget *window, int pauseMs)
    : QObject(window), window_(window), text_(window->windowTitle())
{
    pause_.setSingleShot(true);
    pause_.setInterval(pauseMs);
    ConnectHandler(&pause_, &QTimer::timeout, this, [this] {
        // Pushed at the end of the pause only when it changed during it.
        if (window_->windowTitle() != text_)
            push();
    });
}

void PacedCaption::setText(const QString &text)
{
    text_ = text;
    // The first change after a quiet spell shows at once.
    if (!pause_.isActive())
        push();
}

void PacedCaption::flush()
{
    if (window_->windowTitle() != text_)
        push();
}

void PacedCaption::push()
{
    window_->setWindowTitle(text_);
    pause_.start();
}
