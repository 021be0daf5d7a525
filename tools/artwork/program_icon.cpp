#include "program_icon.h"

#include "stroke_lettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// The design's own units: 48 across.
constexpr double kUnits = 48;

} // namespace

QImage MakeProgramIcon(int side)
{
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / kUnits, side / kUnits);

    // The tile, lit from above like the program's buttons.
    const QRectF tile(2.5, 2.5, 43, 43);
    QLinearGradient face(tile.topLeft(), tile.bottomLeft());
    face.setColorAt(0, QColor(40, 60, 170));
    face.setColorAt(1, QColor(0, 0, 100));
    painter.setPen(QPen(QColor(120, 140, 230), 2));
    painter.setBrush(face);
    painter.drawRoundedRect(tile, 8, 8);

    // Speed stripes along the bottom, as under the logo's title.
    const double stripes[][3] = {{8, 36, 32}, {14, 39.5, 26}, {20, 42, 20}}; // left, top, length
    for (const auto &stripe : stripes) {
        QLinearGradient bar(stripe[0], 0, stripe[0] + stripe[2], 0);
        bar.setColorAt(0, QColor(120, 40, 150));
        bar.setColorAt(1, QColor(255, 180, 40));
        painter.fillRect(QRectF(stripe[0], stripe[1], stripe[2], 2), bar);
    }

    // The letter, extruded down and right, in the logo's yellow to orange.
    const LetteringStyle style{7, 4.6, 6, 0, 0.14};
    const QPainterPath letter = LetteringPath(QStringLiteral("R"), style, QPointF(13, 5));
    painter.fillPath(letter.translated(1.6, 1.6), QColor(20, 14, 70));
    const QRectF bounds = letter.boundingRect();
    QLinearGradient fill(0, bounds.top(), 0, bounds.bottom());
    fill.setColorAt(0, QColor(255, 255, 190));
    fill.setColorAt(0.45, QColor(255, 225, 30));
    fill.setColorAt(1, QColor(255, 140, 10));
    painter.strokePath(letter, QPen(QColor(18, 10, 58), 1.5));
    painter.fillPath(letter, fill);
    return icon;
}
