#include "button_glyphs.h"

#include "stroke_lettering.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

const QColor kYellow(255, 230, 0);
const QColor kShadow(0, 0, 20, 170);

// 14 pixels high on whole pixels, so the strokes stay crisp at this size.
const LetteringStyle kButtonLettering{2, 2, 2, 2, 0};

// A transparent picture of the given size in the window's pixels, in as many
// of the screen's pixels as the scale makes it.
QImage Transparent(int width, int height, double scale)
{
    QImage image(int(std::ceil(width * scale)), int(std::ceil(height * scale)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Paints shape in colour over its shadow one pixel down and right. Lettering
// laid on whole pixels stays crisp without antialiasing at whole scales; at
// the others its edges fall inside pixels and are smoothed.
void PaintWithShadow(QImage &image, const QPainterPath &shape, const QColor &colour, bool antialias, double scale)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialias || scale != std::round(scale));
    painter.scale(scale, scale);
    painter.fillPath(shape.translated(1, 1), kShadow);
    painter.fillPath(shape, colour);
}

QPainterPath Stroked(const QPainterPath &lines, double width, Qt::PenCapStyle cap = Qt::RoundCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(lines).simplified();
}

QPainterPath Cross(double from, double to)
{
    QPainterPath lines;
    lines.moveTo(from, from);
    lines.lineTo(to, to);
    lines.moveTo(to, from);
    lines.lineTo(from, to);
    return lines;
}

} // namespace

QImage MakeLetteringGlyph(const QString &text, double scale)
{
    const QSizeF size = LetteringSize(text, kButtonLettering);
    QImage glyph = Transparent(int(std::ceil(size.width())) + 1, int(std::ceil(size.height())) + 1, scale);
    PaintWithShadow(glyph, LetteringPath(text, kButtonLettering), kYellow, false, scale);
    return glyph;
}

QImage MakeReloadGlyph(double scale)
{
    // Three quarters of a ring, open at the upper right, ending in an arrow
    // head on its right that points on round the circle.
    QImage glyph = Transparent(17, 16, scale);
    const QPointF centre(7.5, 8.5);
    const double radius = 5;
    QPainterPath arc;
    arc.arcMoveTo(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), 100);
    arc.arcTo(QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)), 100, 260);
    QPainterPath head;
    head.moveTo(centre + QPointF(radius - 3.5, 0.5));
    head.lineTo(centre + QPointF(radius + 3.5, 0.5));
    head.lineTo(centre + QPointF(radius, -4.5));
    head.closeSubpath();
    PaintWithShadow(glyph, Stroked(arc, 2.2, Qt::FlatCap).united(head), kYellow, true, scale);
    return glyph;
}

QImage MakeInfoGlyph(double scale)
{
    // A ring with a lower-case i inside.
    QImage glyph = Transparent(18, 18, scale);
    QPainterPath ring;
    ring.addEllipse(QRectF(1, 1, 15, 15));
    QPainterPath shape = Stroked(ring, 2);
    shape.addRect(QRectF(7.5, 3.5, 2, 2));
    shape.addRect(QRectF(7.5, 7, 2, 6.5));
    shape.addRect(QRectF(6, 7, 1.5, 1.5));
    shape.addRect(QRectF(6, 12, 5, 1.5));
    shape.setFillRule(Qt::WindingFill);
    PaintWithShadow(glyph, shape.simplified(), kYellow, true, scale);
    return glyph;
}

QImage MakeCloseGlyph(double scale)
{
    QImage glyph = Transparent(16, 16, scale);
    PaintWithShadow(glyph, Stroked(Cross(3, 12), 2.6), kYellow, true, scale);
    return glyph;
}

QImage MakeDeletePixGlyph(double scale)
{
    // Red, as the delete button of the picture panel has always been.
    QImage glyph = Transparent(11, 11, scale);
    PaintWithShadow(glyph, Stroked(Cross(2, 8), 2.2), QColor(235, 40, 30), true, scale);
    return glyph;
}
