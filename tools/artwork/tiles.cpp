#include "tiles.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

constexpr int kSide = 63;

// A repeatable pseudo-random value in [0, 1) for a lattice point.
double Hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed ^ (std::uint32_t(x) * 0x8da6b343u) ^ (std::uint32_t(y) * 0xd8163841u);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xffffff) / double(0x1000000);
}

// Smooth noise whose lattice wraps at the tile's side, so it has no seam.
double WrappedNoise(int x, int y, int cell, std::uint32_t seed)
{
    const int cells = kSide / cell;
    const double fx = double(x) / cell, fy = double(y) / cell;
    const int x0 = int(fx), y0 = int(fy);
    const double tx = fx - x0, ty = fy - y0;
    const auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const auto at = [&](int i, int j) { return Hash(i % cells, j % cells, seed); };
    const double top = std::lerp(at(x0, y0), at(x0 + 1, y0), smooth(tx));
    const double bottom = std::lerp(at(x0, y0 + 1), at(x0 + 1, y0 + 1), smooth(tx));
    return std::lerp(top, bottom, smooth(ty));
}

QColor Mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(std::lerp(a.redF(), b.redF(), t)), float(std::lerp(a.greenF(), b.greenF(), t)),
                            float(std::lerp(a.blueF(), b.blueF(), t)));
}

// A tile from a shade map in [0, 1]: the palette is 256 steps from dark
// through middle to light, and each pixel takes the step of its shade.
QImage ShadeTile(const QColor &dark, const QColor &middle, const QColor &light,
                 const std::function<double(int, int)> &shade)
{
    QImage tile(kSide, kSide, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        palette << (t < 0.5 ? Mix(dark, middle, t * 2) : Mix(middle, light, t * 2 - 1)).rgb();
    }
    tile.setColorTable(palette);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            tile.setPixel(x, y, uint(std::clamp(std::lround(shade(x, y) * 255), 0L, 255L)));
    }
    return tile;
}

} // namespace

QImage MakeMainWindowTile()
{
    // Brushed navy with fine scanlines and a quiet bevelled grid of 21-pixel
    // panels, like the moulded top of a console.
    return ShadeTile(QColor(4, 6, 22), QColor(14, 20, 62), QColor(40, 52, 128), [](int x, int y) {
        double s = 0.42 + 0.10 * (WrappedNoise(x, y, 21, 11) - 0.5) + 0.06 * (Hash(x, y, 5) - 0.5);
        if (y % 3 == 2)
            s -= 0.07;
        const int px = x % 21, py = y % 21;
        if (px == 0 || py == 0)
            s += 0.16;
        else if (px == 20 || py == 20)
            s -= 0.14;
        return s;
    });
}

QImage MakeDialogTile()
{
    // Deep indigo with a soft diamond lattice and grain.
    return ShadeTile(QColor(6, 4, 24), QColor(22, 16, 66), QColor(56, 44, 140), [](int x, int y) {
        double s = 0.40 + 0.08 * (WrappedNoise(x, y, 9, 23) - 0.5) + 0.05 * (Hash(x, y, 7) - 0.5);
        const int d1 = (x + y) % 21, d2 = (x - y + 63) % 21;
        if (d1 == 0 || d2 == 0)
            s += 0.14;
        else if (d1 == 1 || d2 == 1)
            s -= 0.08;
        return s;
    });
}
