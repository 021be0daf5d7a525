#include "widgets/light_control.h"

#include "platform/handler_guard.h"

#include <QDragEnterEvent>
#include <QDropEvent>

LightControl::LightControl(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
}

void LightControl::mousePressEvent(QMouseEvent *event)
{
    RunHandler([&] {
        clicks_.press(event);
        emit mouseDown(event);
    });
}

void LightControl::mouseMoveEvent(QMouseEvent *event)
{
    RunHandler([&] { emit mouseMove(event); });
}

void LightControl::mouseReleaseEvent(QMouseEvent *event)
{
    RunHandler([&] {
        const bool click = clicks_.release(event, rect());
        emit mouseUp(event);
        if (click)
            emit clicked();
    });
}

void LightControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    RunHandler([&] {
        clicks_.doublePress();
        emit mouseDown(event);
        emit doubleClicked();
    });
}

void LightControl::dragEnterEvent(QDragEnterEvent *event)
{
    RunHandler([&] {
        event->ignore();
        emit dragOver(event);
    });
}

void LightControl::dragMoveEvent(QDragMoveEvent *event)
{
    RunHandler([&] {
        event->ignore();
        emit dragOver(event);
    });
}

void LightControl::dropEvent(QDropEvent *event)
{
    RunHandler([&] { emit dragDrop(event); });
}
