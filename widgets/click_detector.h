#pragma once
#include <QMouseEvent>
#include <QRect>

// Tells clicks from presses and releases as a classic Windows control does:
// the left button pressed and released over the control is a click; the
// release that ends a double click is none.
class ClickDetector
{
public:
    void press(const QMouseEvent *event) { pending_ = event->button() == Qt::LeftButton; }
    void doublePress() { pending_ = false; }
    bool release(const QMouseEvent *event, const QRect &area)
    {
        const bool click = pending_ && event->button() == Qt::LeftButton && area.contains(event->position().toPoint());
        pending_ = false;
        return click;
    }

private:
    bool pending_ = false;
};
