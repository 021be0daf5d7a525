#include "widgets/logo_bitmap.h"

#include "platform/handler_guard.h"
#include "widgets/device_pixels.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>

TLogoBitmap::TLogoBitmap(QWidget *parent) : LightControl(parent)
{
    resize(64, 64);
    look_.blendColor = QApplication::palette().color(QPalette::Button);
}

void TLogoBitmap::setBackColor(const QColor &color)
{
    if (color == look_.backColor)
        return;
    look_.backColor = color;
    update();
}

void TLogoBitmap::setBorder(int border)
{
    border = std::clamp(border, 0, 9);
    if (border == look_.border)
        return;
    look_.border = border;
    fitToPicture();
    update();
}

void TLogoBitmap::setBlendColor(const QColor &color)
{
    if (color == look_.blendColor)
        return;
    look_.blendColor = color;
    update();
}

void TLogoBitmap::setPicture(const QImage &picture)
{
    picture_ = picture;
    if (!picture.isNull())
        look_.backColor = picture.pixelColor(0, 0).toRgb();
    fitToPicture();
    update();
}

void TLogoBitmap::loadStoredPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void TLogoBitmap::setDrawStyle(TDrawStyle style)
{
    if (style == look_.drawStyle)
        return;
    look_.drawStyle = style;
    update();
}

void TLogoBitmap::setColorOption(TColorOption option)
{
    if (option == look_.colorOption)
        return;
    look_.colorOption = option;
    update();
}

void TLogoBitmap::setAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    fitToPicture();
    update();
}

void TLogoBitmap::fitToPicture()
{
    if (autoSize_)
        resize(LogicalSize(picture_) + 2 * QSize(look_.border, look_.border));
}

void TLogoBitmap::beginDrag()
{
    emit startDrag();
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    data->setImageData(picture_);
    drag->setMimeData(data);
    const Qt::DropAction action = drag->exec(Qt::CopyAction);
    emit endDrag(action != Qt::IgnoreAction);
}

void TLogoBitmap::paintEvent(QPaintEvent *event)
{
    RunHandler([&] {
        QPainter painter(this);
        PaintLogo(painter, size(), event->rect(), picture_, look_);
    });
}
