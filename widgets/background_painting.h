#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

enum class TBackStyle { bgSingleColor, bgSmooth, bgSingleBitmap, bgTileBitmap };

struct BackgroundLook
{
    TBackStyle style = TBackStyle::bgSingleColor;
    QColor color1 = Qt::white;
    QColor color2 = Qt::black;
    QImage picture;
};

// Paints the part area of a background control of the given size, in control
// coordinates, and nothing outside it:
// - bgSingleColor: color1;
// - bgSmooth: rows from color1 at the top towards color2, each component
//   c1 + (c2 - c1) * y / height rounded to the nearest (halves to even);
// - bgSingleBitmap: the picture unscaled, its top-left at the control's;
// - bgTileBitmap: the picture repeated on a grid anchored at the control's
//   top-left corner; a picture drawn for the screen's pixel ratio (its
//   device pixel ratio not 1) is repeated in the screen's pixels.
// An empty picture paints nothing, so what lies behind stays visible.
// The same pixels come out however the control is split into areas.
void PaintBackground(QPainter &painter, const QSize &control, const QRect &area, const BackgroundLook &look);
