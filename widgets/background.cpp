#include "widgets/background.h"

#include "platform/handler_guard.h"

#include <QPaintEvent>
#include <QPainter>

TBackground::TBackground(QWidget *parent) : LightControl(parent)
{
    resize(144, 144);
    if (parent)
        parent->installEventFilter(this);
}

void TBackground::setAlign(TAlign align)
{
    align_ = align;
    followParent();
}

void TBackground::setPicture(const QImage &picture)
{
    picture_ = picture;
    look_.picture = picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void TBackground::setColor1(const QColor &color)
{
    look_.color1 = color;
    update();
}

void TBackground::setColor2(const QColor &color)
{
    look_.color2 = color;
    update();
}

void TBackground::setBackStyle(TBackStyle style)
{
    look_.style = style;
    update();
}

void TBackground::paintEvent(QPaintEvent *event)
{
    RunHandler([&] {
        QPainter painter(this);
        PaintBackground(painter, size(), event->rect(), look_);
    });
}

bool TBackground::eventFilter(QObject *watched, QEvent *event)
{
    return RunHandler([&] {
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            followParent();
        return LightControl::eventFilter(watched, event);
    });
}

bool TBackground::event(QEvent *event)
{
    return RunHandler([&] {
        if (event->type() == QEvent::ParentAboutToChange && parentWidget())
            parentWidget()->removeEventFilter(this);
        if (event->type() == QEvent::ParentChange && parentWidget()) {
            parentWidget()->installEventFilter(this);
            followParent();
        }
        return LightControl::event(event);
    });
}

void TBackground::followParent()
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    const QSize room = parent->size();
    switch (align_) {
    case TAlign::alNone: break;
    case TAlign::alTop: setGeometry(0, 0, room.width(), height()); break;
    case TAlign::alBottom: setGeometry(0, room.height() - height(), room.width(), height()); break;
    case TAlign::alLeft: setGeometry(0, 0, width(), room.height()); break;
    case TAlign::alRight: setGeometry(room.width() - width(), 0, width(), room.height()); break;
    case TAlign::alClient: setGeometry(QRect(QPoint(0, 0), room)); break;
    }
}
