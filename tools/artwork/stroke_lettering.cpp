#include "stroke_lettering.h"

#include <QPainterPathStroker>
#include <QStringList>
#include <QTransform>

namespace {

struct Shape
{
    char character;
    double width;        // grid units
    const char *strokes; // "x,y x,y ... | x,y ..." polylines, "Z" closes one
};

// Drawn for this program on a 3 x 6 grid; corners cut at 45 degrees.
constexpr Shape kShapes[] = {
    {'A', 3, "0,6 0,1 1,0 2,0 3,1 3,6 | 0,3 3,3"},
    {'C', 3, "3,0 1,0 0,1 0,5 1,6 3,6"},
    {'D', 3, "0,0 2,0 3,1 3,5 2,6 0,6 Z"},
    {'E', 3, "3,0 0,0 0,6 3,6 | 0,3 2,3"},
    {'F', 3, "3,0 0,0 0,6 | 0,3 2,3"},
    {'G', 3, "3,0 1,0 0,1 0,5 1,6 3,6 3,3 2,3"},
    {'I', 2, "0,0 2,0 | 1,0 1,6 | 0,6 2,6"},
    {'K', 3, "0,0 0,6 | 3,0 3,1 1,3 0,3 | 1,3 3,5 3,6"},
    {'L', 3, "0,0 0,6 3,6"},
    {'M', 4, "0,6 0,0 2,2 4,0 4,6"},
    {'N', 3, "0,6 0,0 3,6 3,0"},
    {'O', 3, "1,0 2,0 3,1 3,5 2,6 1,6 0,5 0,1 Z"},
    {'P', 3, "0,6 0,0 2,0 3,1 3,2 2,3 0,3"},
    {'R', 3, "0,6 0,0 2,0 3,1 3,2 2,3 0,3 | 2,3 3,4 3,6"},
    {'S', 3, "3,0 1,0 0,1 0,2 1,3 2,3 3,4 3,5 2,6 0,6"},
    {'T', 3, "0,0 3,0 | 1.5,0 1.5,6"},
    {'U', 3, "0,0 0,5 1,6 2,6 3,5 3,0"},
    {'V', 3, "0,0 0,4 1.5,6 3,4 3,0"},
    {'X', 3, "0,0 0,1 3,5 3,6 | 3,0 3,1 0,5 0,6"},
    {'Y', 3, "0,0 0,1 1.5,3 3,1 3,0 | 1.5,3 1.5,6"},
    {'!', 0, "0,0 0,4 | 0,5.5 0,6"},
    {'-', 2, "0,3 2,3"},
    {' ', 1, ""},
};

const Shape *FindShape(QChar c)
{
    for (const Shape &shape : kShapes) {
        if (QChar::fromLatin1(shape.character) == c)
            return &shape;
    }
    return nullptr;
}

// The centre lines of one character, in pixels, grid origin at (0, 0).
QPainterPath CentreLines(const Shape &shape, const LetteringStyle &style)
{
    QPainterPath lines;
    for (const QString &polyline : QString::fromLatin1(shape.strokes).split(u'|', Qt::SkipEmptyParts)) {
        bool first = true;
        for (const QString &point : polyline.split(u' ', Qt::SkipEmptyParts)) {
            if (point == QStringLiteral("Z")) {
                lines.closeSubpath();
                continue;
            }
            const QStringList xy = point.split(u',');
            const QPointF at(xy[0].toDouble() * style.unitX, xy[1].toDouble() * style.unitY);
            if (first)
                lines.moveTo(at);
            else
                lines.lineTo(at);
            first = false;
        }
    }
    return lines;
}

} // namespace

QSizeF LetteringSize(const QString &text, const LetteringStyle &style)
{
    double width = 0;
    int count = 0;
    for (QChar c : text) {
        if (const Shape *shape = FindShape(c)) {
            width += shape->width * style.unitX + style.pen;
            ++count;
        }
    }
    if (count > 1)
        width += (count - 1) * style.gap;
    return {width, count ? 6 * style.unitY + style.pen : 0};
}

QPainterPath LetteringPath(const QString &text, const LetteringStyle &style, QPointF origin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(style.pen);
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(4);

    QPainterPath outline;
    outline.setFillRule(Qt::WindingFill);
    double x = origin.x() + style.pen / 2;
    const double top = origin.y() + style.pen / 2;
    for (QChar c : text) {
        const Shape *shape = FindShape(c);
        if (!shape)
            continue;
        const QPainterPath lines = CentreLines(*shape, style).translated(x, top);
        if (!lines.isEmpty())
            outline.addPath(stroker.createStroke(lines));
        x += shape->width * style.unitX + style.pen + style.gap;
    }
    outline = outline.simplified();
    if (style.slant != 0) {
        // Lean about the baseline so the letters keep their footing.
        const double baseline = origin.y() + 6 * style.unitY + style.pen;
        outline = QTransform(1, 0, -style.slant, 1, style.slant * baseline, 0).map(outline);
    }
    return outline;
}
