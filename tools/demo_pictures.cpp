#include "demo_pictures.h"

#include "support/pcx_files.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstdint>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 224;

QColor Mix(const QColor &a, const QColor &b, double t)
{
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * t)),
                  int(std::lround(a.green() + (b.green() - a.green()) * t)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * t)));
}

// A sky or sea in flat bands, as a console with a small palette draws it.
void Bands(QPainter &painter, const QRect &area, const QColor &top, const QColor &bottom, int bands)
{
    for (int i = 0; i < bands; ++i) {
        const int y0 = area.top() + area.height() * i / bands;
        const int y1 = area.top() + area.height() * (i + 1) / bands;
        painter.fillRect(QRect(area.left(), y0, area.width(), y1 - y0), Mix(top, bottom, double(i) / (bands - 1)));
    }
}

// A repeatable pseudo-random number in [0, n).
int Pick(int i, int salt, int n)
{
    std::uint32_t h = std::uint32_t(i) * 0x9e3779b1u + std::uint32_t(salt) * 0x7f4a7c15u;
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    return int(h % std::uint32_t(n));
}

QImage Canvas()
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

} // namespace

QImage DemoUnderwater()
{
    QImage picture = Canvas();
    QPainter painter(&picture);
    Bands(painter, QRect(0, 0, kWidth, 190), QColor(40, 150, 220), QColor(8, 30, 96), 12);
    // Light falling in from the surface.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 170, 230));
    for (int i = 0; i < 4; ++i) {
        const double x = 30 + i * 80;
        painter.drawPolygon(QPolygonF({{x, 0}, {x + 18, 0}, {x + 60, 150}, {x + 48, 150}}));
    }
    // Surface ripples.
    painter.setBrush(QColor(200, 240, 255));
    for (int x = 0; x < kWidth; x += 16)
        painter.drawRect(x + (x / 16 % 2) * 6, 4, 8, 2);
    // Sand, rocks and weed.
    painter.setBrush(QColor(200, 170, 90));
    painter.drawRect(0, 190, kWidth, 34);
    painter.setBrush(QColor(150, 120, 60));
    for (int i = 0; i < 20; ++i)
        painter.drawRect(Pick(i, 1, kWidth), 194 + Pick(i, 2, 28), 4, 2);
    painter.setBrush(QColor(70, 70, 110));
    painter.drawEllipse(QRect(210, 170, 70, 40));
    painter.drawEllipse(QRect(250, 180, 50, 30));
    painter.setBrush(QColor(30, 150, 70));
    for (int i = 0; i < 7; ++i) {
        const int x = 20 + i * 28 + Pick(i, 3, 10);
        const int h = 30 + Pick(i, 4, 40);
        for (int y = 0; y < h; y += 6)
            painter.drawRect(x + ((y / 6) % 2) * 3, 192 - y - 6, 4, 6);
    }
    // A dolphin-grey swimmer and a shoal of small fish.
    painter.setBrush(QColor(90, 110, 150));
    painter.drawEllipse(QRect(92, 84, 96, 30));
    painter.drawPolygon(QPolygonF({{100, 98}, {70, 82}, {78, 98}, {70, 114}}));
    painter.drawPolygon(QPolygonF({{140, 86}, {150, 68}, {156, 88}}));
    painter.drawPolygon(QPolygonF({{184, 96}, {204, 100}, {184, 104}}));
    painter.setBrush(QColor(180, 200, 230));
    painter.drawEllipse(QRect(110, 100, 66, 12));
    painter.setBrush(Qt::black);
    painter.drawRect(176, 94, 3, 3);
    painter.setBrush(QColor(255, 160, 40));
    for (int i = 0; i < 6; ++i) {
        const int x = 220 + (i % 3) * 22, y = 50 + (i / 3) * 18 + (i % 3) * 4;
        painter.drawEllipse(QRect(x, y, 12, 7));
        painter.drawPolygon(QPolygonF({{double(x + 11), y + 3.5}, {x + 17.0, double(y)}, {x + 17.0, y + 7.0}}));
    }
    // Bubbles.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(220, 245, 255));
    for (int i = 0; i < 9; ++i)
        painter.drawEllipse(QRect(196 + Pick(i, 5, 14), 30 + i * 7, 3 + i % 3, 3 + i % 3));
    return picture;
}

QImage DemoGreenHills()
{
    QImage picture = Canvas();
    QPainter painter(&picture);
    Bands(painter, QRect(0, 0, kWidth, 120), QColor(40, 90, 230), QColor(150, 200, 255), 10);
    painter.setPen(Qt::NoPen);
    // Clouds.
    painter.setBrush(Qt::white);
    for (const QRect &cloud :
         {QRect(30, 24, 60, 16), QRect(48, 16, 30, 16), QRect(200, 40, 70, 14), QRect(220, 32, 34, 14)})
        painter.drawRoundedRect(cloud, 7, 7);
    // Sea at the horizon, glinting.
    Bands(painter, QRect(0, 120, kWidth, 30), QColor(30, 110, 200), QColor(20, 60, 150), 4);
    painter.setBrush(QColor(200, 230, 255));
    for (int i = 0; i < 12; ++i)
        painter.drawRect(Pick(i, 6, kWidth), 124 + Pick(i, 7, 24), 10, 1);
    // Far hills, then near ground of chequered earth under grass.
    painter.setBrush(QColor(40, 140, 50));
    painter.drawEllipse(QRect(-40, 110, 200, 80));
    painter.drawEllipse(QRect(150, 116, 240, 70));
    const int ground = 168;
    for (int y = ground; y < kHeight; y += 14)
        for (int x = 0; x < kWidth; x += 14)
            painter.fillRect(x, y, 14, 14, ((x + y) / 14) % 2 ? QColor(170, 90, 30) : QColor(120, 60, 20));
    painter.fillRect(0, ground - 6, kWidth, 10, QColor(60, 190, 60));
    painter.setBrush(QColor(30, 120, 40));
    for (int x = 0; x < kWidth; x += 8)
        painter.drawPolygon(QPolygonF({{double(x), ground + 4.0}, {x + 4.0, ground + 10.0}, {x + 8.0, ground + 4.0}}));
    // A palm tree and a few rings.
    painter.setBrush(QColor(150, 90, 40));
    for (int i = 0; i < 8; ++i)
        painter.drawRect(252 + (i % 2) * 2, ground - 12 - i * 10, 10, 10);
    painter.setBrush(QColor(30, 160, 40));
    const QPointF crown(259, ground - 92);
    for (int i = 0; i < 5; ++i) {
        const double a = (200 + i * 35) * M_PI / 180;
        const QPointF tip = crown + QPointF(std::cos(a) * 40, std::sin(a) * 20 + 14);
        painter.drawPolygon(QPolygonF({crown, tip, crown + QPointF(std::cos(a) * 18, 8)}));
    }
    painter.setPen(QPen(QColor(255, 210, 0), 3));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i)
        painter.drawEllipse(QRect(80 + i * 28, 130, 12, 14));
    return picture;
}

QImage DemoNightCity()
{
    QImage picture = Canvas();
    QPainter painter(&picture);
    Bands(painter, QRect(0, 0, kWidth, kHeight), QColor(8, 6, 30), QColor(70, 30, 100), 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int i = 0; i < 60; ++i)
        painter.drawRect(Pick(i, 8, kWidth), Pick(i, 9, 120), 1 + (i % 7 == 0), 1 + (i % 7 == 0));
    // A crescent moon: the full disc less a disc beside it.
    QPainterPath moon;
    moon.addEllipse(QRectF(240, 20, 40, 40));
    QPainterPath shadow;
    shadow.addEllipse(QRectF(252, 14, 40, 40));
    painter.setBrush(QColor(255, 250, 210));
    painter.drawPath(moon.subtracted(shadow));
    // A rocket climbing on its flame.
    painter.setBrush(QColor(255, 120, 20));
    painter.drawPolygon(QPolygonF({{70, 112}, {62, 140}, {78, 140}}));
    painter.setBrush(QColor(255, 230, 60));
    painter.drawPolygon(QPolygonF({{70, 112}, {66, 130}, {74, 130}}));
    painter.setBrush(QColor(220, 220, 230));
    painter.drawRect(64, 76, 12, 36);
    painter.drawPolygon(QPolygonF({{64, 76}, {70, 62}, {76, 76}}));
    painter.setBrush(QColor(220, 40, 40));
    painter.drawPolygon(QPolygonF({{64, 100}, {56, 114}, {64, 112}}));
    painter.drawPolygon(QPolygonF({{76, 100}, {84, 114}, {76, 112}}));
    // The skyline, its windows lit at random.
    int x = 0;
    for (int i = 0; x < kWidth; ++i) {
        const int w = 24 + Pick(i, 10, 30);
        const int h = 50 + Pick(i, 11, 90);
        painter.setBrush(i % 2 ? QColor(20, 16, 50) : QColor(30, 24, 66));
        painter.drawRect(x, kHeight - h, w, h);
        for (int wy = kHeight - h + 6; wy < kHeight - 8; wy += 10)
            for (int wx = x + 4; wx < x + w - 5; wx += 7)
                if (Pick(wx * 7 + wy, 12, 3) == 0)
                    painter.fillRect(wx, wy, 3, 4, QColor(255, 220, 90));
        x += w;
    }
    return picture;
}

QImage DemoSunsetGrid()
{
    QImage picture = Canvas();
    QPainter painter(&picture);
    const int horizon = 130;
    Bands(painter, QRect(0, 0, kWidth, horizon), QColor(30, 10, 70), QColor(240, 90, 120), 12);
    painter.setPen(Qt::NoPen);
    // A striped sun sinking behind the mountains.
    const QRect sun(100, 30, 120, 120);
    for (int y = sun.top(); y < horizon; y += 4) {
        const double t = double(y - sun.top()) / sun.height();
        const int stripe = y > 80 ? (y - 80) / 12 + 1 : 0;
        if (stripe > 0 && (y - 80) % 12 < stripe)
            continue;
        const double dy = y + 2 - sun.center().y();
        const double half = std::sqrt(std::max(0.0, 60.0 * 60.0 - dy * dy));
        painter.fillRect(QRectF(sun.center().x() - half, y, 2 * half, 4),
                         Mix(QColor(255, 230, 60), QColor(255, 60, 120), t));
    }
    painter.setBrush(QColor(40, 16, 80));
    painter.drawPolygon(QPolygonF({{0, 130}, {40, 96}, {70, 116}, {110, 84}, {150, 130}}));
    painter.drawPolygon(QPolygonF({{170, 130}, {220, 92}, {250, 112}, {290, 88}, {320, 110}, {320, 130}}));
    // The floor: a grid running to the horizon.
    painter.fillRect(0, horizon, kWidth, kHeight - horizon, QColor(20, 6, 40));
    painter.setPen(QPen(QColor(255, 60, 200), 1));
    for (int i = -12; i <= 12; ++i)
        painter.drawLine(QPointF(160 + i * 6, horizon), QPointF(160 + i * 60, kHeight));
    for (int i = 0; i < 9; ++i) {
        const double y = horizon + (kHeight - horizon) * std::pow(i / 8.0, 2);
        painter.drawLine(QPointF(0, y), QPointF(kWidth, y));
    }
    return picture;
}

QByteArray DemoPcxFile(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> indexOf;
    QByteArray colours;
    QByteArray lines;
    pcx_files::Layout layout;
    layout.width = rgb.width();
    layout.height = rgb.height();
    const int lineBytes = layout.lineBytes();
    for (int y = 0; y < rgb.height(); ++y) {
        QByteArray line(lineBytes, '\0');
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = rgb.pixel(x, y);
            auto found = indexOf.constFind(colour);
            if (found == indexOf.constEnd()) {
                if (indexOf.size() == 256)
                    return {};
                found = indexOf.insert(colour, int(indexOf.size()));
                colours += char(qRed(colour));
                colours += char(qGreen(colour));
                colours += char(qBlue(colour));
            }
            line[x] = char(found.value());
        }
        lines += line;
    }
    colours.resize(768, '\0');
    return pcx_files::File(layout, lines, false, colours);
}
