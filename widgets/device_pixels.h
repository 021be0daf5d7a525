#pragma once
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>

#include <cmath>

// Pictures drawn for the screen's pixel ratio carry it as their device pixel
// ratio: they are measured in the window's pixels and drawn one to one onto
// the screen's.

// The picture's size in the window's pixels, rounded to whole ones.
inline QSize LogicalSize(const QImage &picture)
{
    return picture.deviceIndependentSize().toSize();
}

// The point nearest to `logical` that lies on a whole pixel of the painter's
// device, so that a picture drawn there keeps every pixel crisp also where
// the window's pixels fall between the screen's (a ratio of 1.25 or 1.5).
inline QPointF OnDevicePixels(const QPainter &painter, const QPointF &logical)
{
    const QTransform toDevice = painter.deviceTransform();
    const QPointF device = toDevice.map(logical);
    return toDevice.inverted().map(QPointF(std::round(device.x()), std::round(device.y())));
}
