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
double WrappedNoise(double x, double y, int cell, std::uint32_t seed)
{
    const int cells = kSide / cell;
    const double fx = x / cell, fy = y / cell;
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

// A tile's design as shades in [0, 1]: a base, smooth noise across the tile,
// grain on every pixel, and fine lines laid out on the tile's own pixels.
struct TilePattern
{
    QColor dark, middle, light; // the palette runs from dark through middle to light
    double base;
    double noise;
    int noiseCell;
    std::uint32_t noiseSeed;
    double grain;
    std::uint32_t grainSeed;
    std::function<double(int, int)> lines; // shade added at a pixel of the 63 x 63 tile
};

// How many tiles across one picture holds so that its side is a whole number
// of pixels at the scale: four at 1.25, two at 1.5, one at whole scales.
int TilesAcross(double scale)
{
    int tiles = 1;
    while (std::abs(kSide * tiles * scale - std::round(kSide * tiles * scale)) > 1e-6)
        ++tiles;
    return tiles;
}

// The pattern drawn for the scale, 256 colours: the lines cover each pixel
// by the share of it they cross, the noise is sampled at the pixel's corner
// and the grain is the screen pixel's own, so that a larger scale shows more
// detail rather than larger pixels. At scale 1, one pixel per tile pixel.
QImage ShadeTile(const TilePattern &pattern, double scale)
{
    const int side = int(std::lround(kSide * TilesAcross(scale) * scale));
    QImage tile(side, side, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        const QColor colour =
            t < 0.5 ? Mix(pattern.dark, pattern.middle, t * 2) : Mix(pattern.middle, pattern.light, t * 2 - 1);
        palette << colour.rgb();
    }
    tile.setColorTable(palette);
    const int samples = scale == 1 ? 1 : 4; // per pixel and direction
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            double lines = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const int lx = int((x + (sx + 0.5) / samples) / scale) % kSide;
                    const int ly = int((y + (sy + 0.5) / samples) / scale) % kSide;
                    lines += pattern.lines(lx, ly);
                }
            }
            const double shade = pattern.base +
                pattern.noise * (WrappedNoise(x / scale, y / scale, pattern.noiseCell, pattern.noiseSeed) - 0.5) +
                pattern.grain * (Hash(x, y, pattern.grainSeed) - 0.5) + lines / (samples * samples);
            tile.setPixel(x, y, uint(std::clamp(std::lround(shade * 255), 0L, 255L)));
        }
    }
    return tile;
}

} // namespace

QImage MakeMainWindowTile(double scale)
{
    // Brushed navy with fine scanlines and a quiet bevelled grid of 21-pixel
    // panels, like the moulded top of a console.
    const TilePattern pattern{
        QColor(4, 6, 22), QColor(14, 20, 62), QColor(40, 52, 128), 0.42, 0.10, 21, 11, 0.06, 5, [](int x, int y) {
            double s = y % 3 == 2 ? -0.07 : 0;
            const int px = x % 21, py = y % 21;
            if (px == 0 || py == 0)
                s += 0.16;
            else if (px == 20 || py == 20)
                s -= 0.14;
            return s;
        }};
    return ShadeTile(pattern, scale);
}

QImage MakeDialogTile(double scale)
{
    // Deep indigo with a soft diamond lattice and grain.
    const TilePattern pattern{
        QColor(6, 4, 24), QColor(22, 16, 66), QColor(56, 44, 140), 0.40, 0.08, 9, 23, 0.05, 7, [](int x, int y) {
            const int d1 = (x + y) % 21, d2 = (x - y + 63) % 21;
            if (d1 == 0 || d2 == 0)
                return 0.14;
            if (d1 == 1 || d2 == 1)
                return -0.08;
            return 0.0;
        }};
    return ShadeTile(pattern, scale);
}
