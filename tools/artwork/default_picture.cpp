#include "default_picture.h"

#include "stroke_lettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>

namespace {

constexpr int kWidth = 303;
constexpr int kHeight = 231;

// A repeatable pseudo-random byte for a pixel.
int Noise(int x, int y)
{
    std::uint32_t h = std::uint32_t(x) * 0x9e3779b1u ^ std::uint32_t(y) * 0x85ebca77u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return int(h & 0xff);
}

void PaintBackdrop(QPainter &painter)
{
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(26, 20, 84));
    sky.setColorAt(0.7, QColor(10, 8, 40));
    sky.setColorAt(1, QColor(4, 4, 16));
    painter.fillRect(QRect(0, 0, kWidth, kHeight), sky);
    // Scan lines, as on the television this picture stands in for.
    for (int y = 1; y < kHeight; y += 2)
        painter.fillRect(QRect(0, y, kWidth, 1), QColor(0, 0, 0, 70));
}

// The television: a rounded cabinet, a screen of static, two knobs.
QRectF PaintTelevision(QPainter &painter)
{
    const QRectF cabinet(62, 14, 179, 150);
    QLinearGradient casing(cabinet.topLeft(), cabinet.bottomLeft());
    casing.setColorAt(0, QColor(92, 100, 170));
    casing.setColorAt(0.08, QColor(58, 62, 128));
    casing.setColorAt(1, QColor(24, 24, 66));
    painter.setPen(QPen(QColor(8, 6, 30), 2));
    painter.setBrush(casing);
    painter.drawRoundedRect(cabinet, 14, 14);
    // Feet.
    painter.setBrush(QColor(20, 18, 56));
    painter.drawRect(QRectF(84, 164, 22, 7));
    painter.drawRect(QRectF(197, 164, 22, 7));

    const QRectF screen(74, 26, 132, 114);
    QPainterPath glass;
    glass.addRoundedRect(screen, 16, 16);
    QImage snow(screen.size().toSize(), QImage::Format_RGB32);
    for (int y = 0; y < snow.height(); ++y) {
        for (int x = 0; x < snow.width(); ++x) {
            const int v = 40 + Noise(x, y) * 110 / 255;
            snow.setPixel(x, y, qRgb(v * 3 / 4, v * 4 / 5, v));
        }
    }
    painter.save();
    painter.setClipPath(glass);
    painter.drawImage(screen.topLeft(), snow);
    // Darker towards the screen's curved edge, a glint at its top left.
    QRadialGradient vignette(screen.center(), screen.width() * 0.62);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 20, 190));
    painter.fillRect(screen, vignette);
    QLinearGradient glint(screen.topLeft(), screen.topLeft() + QPointF(0, 40));
    glint.setColorAt(0, QColor(255, 255, 255, 60));
    glint.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(screen.left(), screen.top(), screen.width(), 40), glint);
    painter.restore();
    painter.setPen(QPen(QColor(8, 6, 30), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(glass);

    // Two knobs and a speaker grille on the right.
    for (double y : {44.0, 76.0}) {
        QRadialGradient knob(QPointF(222, y - 3), 10);
        knob.setColorAt(0, QColor(255, 226, 90));
        knob.setColorAt(1, QColor(170, 90, 10));
        painter.setPen(QPen(QColor(8, 6, 30), 1.5));
        painter.setBrush(knob);
        painter.drawEllipse(QPointF(223, y), 8, 8);
    }
    painter.setPen(QPen(QColor(16, 14, 48), 2));
    for (double y = 100; y <= 132; y += 6)
        painter.drawLine(QPointF(214, y), QPointF(232, y));
    return screen;
}

// Yellow block lettering with a dark outline and a short extrusion, centred
// on a line.
void PaintCaption(QPainter &painter, const QString &text, const LetteringStyle &style, double centreX, double top)
{
    const QSizeF size = LetteringSize(text, style);
    const QPainterPath face = LetteringPath(text, style, QPointF(centreX - size.width() / 2, top));
    for (int step = 3; step >= 1; --step)
        painter.fillPath(face.translated(step, step), QColor(60 - step * 12, 30, 140 - step * 25));
    painter.strokePath(face, QPen(QColor(12, 8, 40), 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QLinearGradient fill(0, top, 0, top + size.height());
    fill.setColorAt(0, QColor(255, 255, 200));
    fill.setColorAt(0.45, QColor(255, 232, 40));
    fill.setColorAt(1, QColor(255, 140, 10));
    painter.fillPath(face, fill);
}

} // namespace

QImage MakeDefaultPicture()
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintBackdrop(painter);
    const QRectF screen = PaintTelevision(painter);
    const LetteringStyle big{5, 5, 5, 4, 0.12};
    PaintCaption(painter, QStringLiteral("NO PIX"), big, screen.center().x(), screen.top() + 20);
    const LetteringStyle small{3.5, 3.5, 4, 3, 0.12};
    PaintCaption(painter, QStringLiteral("YET"), small, screen.center().x(), screen.top() + 64);
    return picture;
}
