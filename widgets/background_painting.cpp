#include "widgets/background_painting.h"

#include "widgets/round_half_even.h"

#include <QPainter>

namespace {

int GradientComponent(int c1, int c2, int y, int height)
{
    return int(DivideRoundHalfEven(std::int64_t(c1) * height + std::int64_t(c2 - c1) * y, height));
}

void PaintSmooth(QPainter &painter, const QSize &control, const QRect &area, const QColor &color1, const QColor &color2)
{
    const int height = control.height();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QColor row(GradientComponent(color1.red(), color2.red(), y, height),
                         GradientComponent(color1.green(), color2.green(), y, height),
                         GradientComponent(color1.blue(), color2.blue(), y, height));
        painter.fillRect(QRect(area.left(), y, area.width(), 1), row);
    }
}

void PaintTiles(QPainter &painter, const QRect &area, const QImage &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    if (ratio != 1) {
        // A tile drawn for the screen goes one to one onto the screen's
        // pixels, on a grid anchored at the control's corner in those pixels.
        QImage pixels = picture;
        pixels.setDevicePixelRatio(1);
        painter.save();
        painter.scale(1 / ratio, 1 / ratio);
        PaintTiles(painter, QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect(),
                   pixels);
        painter.restore();
        return;
    }
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return;
    // Pieces never cross a tile's edge: each is one unscaled copy.
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();
    int y = area.top();
    while (y < bottom) {
        const int sourceY = y % h;
        const int pieceHeight = std::min(bottom - y, h - sourceY);
        for (int x = area.left(); x < right;) {
            const int sourceX = x % w;
            const int pieceWidth = std::min(right - x, w - sourceX);
            painter.drawImage(QPoint(x, y), picture, QRect(sourceX, sourceY, pieceWidth, pieceHeight));
            x += pieceWidth;
        }
        y += pieceHeight;
    }
}

} // namespace

void PaintBackground(QPainter &painter, const QSize &control, const QRect &area, const BackgroundLook &look)
{
    const QRect part = area.intersected(QRect(QPoint(0, 0), control));
    if (part.isEmpty())
        return;
    switch (look.style) {
    case TBackStyle::bgSingleColor: painter.fillRect(part, QColor(look.color1.rgb())); break;
    case TBackStyle::bgSmooth: PaintSmooth(painter, control, part, look.color1, look.color2); break;
    case TBackStyle::bgSingleBitmap: {
        const QRect covered = part.intersected(look.picture.rect());
        if (!covered.isEmpty())
            painter.drawImage(covered.topLeft(), look.picture, covered);
        break;
    }
    case TBackStyle::bgTileBitmap: PaintTiles(painter, part, look.picture); break;
    }
}
