#include "widgets/light_control.h"

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
    clicks_.press(event);
    emit mouseDown(event);
}

void LightControl::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event);
}

void LightControl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = clicks_.release(event, rect());
    emit mouseUp(event);
    if (click)
        emit clicked();
}

void LightControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    clicks_.doublePress();
    emit mouseDown(event);
    emit doubleClicked();
}

void LightControl::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
    emit dragOver(event);
}

void LightControl::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
    emit dragOver(event);
}

void LightControl::dropEvent(QDropEvent *event)
{
    emit dragDrop(event);
}
