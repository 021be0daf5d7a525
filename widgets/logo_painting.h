#pragma once
#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

enum class TDrawStyle { dsNone, dsClient, dsCentered };
enum class TColorOption { coNone, coBlendColor, coTransparent };

struct LogoLook
{
    QColor backColor = Qt::black; // the colour left out or replaced
    int border = 2;               // 0 to 9
    QColor blendColor;
    TDrawStyle drawStyle = TDrawStyle::dsNone;
    TColorOption colorOption = TColorOption::coNone;
};

// Where the picture goes in a control of the given size:
// - dsNone: its own size at (border, border);
// - dsClient: from (border, border) to (width - 2 border, height - 2 border),
//   right and bottom excluded (empty when the control is too small);
// - dsCentered: its own size at ((width - w) / 2, (height - h) / 2), each
//   rounded to the nearest, halves to even.
QRect LogoDestination(const QSize &control, const QSize &picture, int border, TDrawStyle style);

// Paints the part area of a logo control, in control coordinates, and
// nothing outside it. Without coTransparent the control is first filled white
// (a canvas's own brush). A border draws a black frame border pixels wide whose
// path runs from (border div 2, border div 2) to the control's last pixel, so
// it shows whole at the top and left and in part at the bottom and right. The
// picture then goes to its destination: coNone stretched, coBlendColor
// stretched with backColor pixels in blendColor, coTransparent unscaled at the
// destination's top-left with backColor pixels left out. Sizes are the
// picture's in the window's pixels: one drawn for the screen's pixel ratio
// keeps its place and size and shows all its pixels.
void PaintLogo(QPainter &painter, const QSize &control, const QRect &area, const QImage &picture, const LogoLook &look);
