#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// While it lives, a widget that a long loop changes step by step, letting
// events run after every step, repaints at a steady pace instead of after
// every step: its repaints are held back and one runs every pause, after
// beforeRepaint, which brings up to date what the widget itself held back.
class PacedRepaint
{
public:
    explicit PacedRepaint(QWidget *widget, int pauseMs = 40, std::function<void()> beforeRepaint = {});
    ~PacedRepaint(); // repaints are back, and one follows
    PacedRepaint(const PacedRepaint &) = delete;
    PacedRepaint &operator=(const PacedRepaint &) = delete;

private:
    QPointer<QWidget> widget_;
    bool wasEnabled_;
    QTimer timer_;
};
