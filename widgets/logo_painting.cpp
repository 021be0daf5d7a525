#include "widgets/logo_painting.h"

#include "widgets/device_pixels.h"
#include "widgets/round_half_even.h"

#include <QPainter>
#include <QRegion>

namespace {

// A stroke of the given width centred on a pixel line starts width div 2
// pixels before it.
QRegion FrameRegion(const QSize &control, int border)
{
    const int half = border / 2;
    const int lastX = control.width() - 1;
    const int lastY = control.height() - 1;
    const QRect outer(QPoint(0, 0), QPoint(lastX - half + border - 1, lastY - half + border - 1));
    const QRect hole(QPoint(border, border), QPoint(lastX - half - 1, lastY - half - 1));
    return QRegion(outer).subtracted(QRegion(hole));
}

// A copy of the picture with every pixel of colour `from` made `to`.
QImage Recoloured(const QImage &picture, QRgb from, QRgb to)
{
    QImage copy = picture.convertToFormat(QImage::Format_ARGB32);
    from |= 0xff000000;
    for (int y = 0; y < copy.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            if ((line[x] | 0xff000000) == from)
                line[x] = to;
            else
                line[x] |= 0xff000000;
        }
    }
    return copy;
}

} // namespace

QRect LogoDestination(const QSize &control, const QSize &picture, int border, TDrawStyle style)
{
    switch (style) {
    case TDrawStyle::dsNone: return QRect(QPoint(border, border), picture);
    case TDrawStyle::dsClient:
        return QRect(QPoint(border, border),
                     QPoint(control.width() - 2 * border - 1, control.height() - 2 * border - 1));
    case TDrawStyle::dsCentered:
        return QRect(QPoint(int(DivideRoundHalfEven(control.width() - picture.width(), 2)),
                            int(DivideRoundHalfEven(control.height() - picture.height(), 2))),
                     picture);
    }
    return {};
}

void PaintLogo(QPainter &painter, const QSize &control, const QRect &area, const QImage &picture, const LogoLook &look)
{
    const QRect bounds(QPoint(0, 0), control);
    const QRect part = area.intersected(bounds);
    if (part.isEmpty())
        return;
    painter.save();
    painter.setClipRect(part, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    if (look.colorOption != TColorOption::coTransparent)
        painter.fillRect(bounds, Qt::white);
    const int border = std::clamp(look.border, 0, 9);
    if (border > 0) {
        for (const QRect &band : FrameRegion(control, border))
            painter.fillRect(band, Qt::black);
    }

    const QRect destination = LogoDestination(control, LogicalSize(picture), border, look.drawStyle);
    const QRgb back = look.backColor.rgb();
    if (look.colorOption == TColorOption::coTransparent && !picture.isNull()) {
        painter.drawImage(OnDevicePixels(painter, destination.topLeft()), Recoloured(picture, back, qRgba(0, 0, 0, 0)));
    } else if (!picture.isNull() && !destination.isEmpty()) {
        // An inverted destination would mirror the picture: it draws nothing.
        const bool blend = look.colorOption == TColorOption::coBlendColor;
        painter.drawImage(destination,
                          blend ? Recoloured(picture, back, look.blendColor.rgb())
                                : picture.convertToFormat(QImage::Format_RGB32));
    }
    painter.restore();
}
