#pragma once
#include <QImage>
#include <QPoint>

// How many pixels of a window's picture, inside the logo placed at logoAt,
// differ from a transparent logo over the window's tile: the tile (anchored
// at the window's corner) where the logo is black, the logo elsewhere.
inline int LogoOverTileMismatches(const QImage &window, const QImage &logo, QPoint logoAt, const QImage &tile)
{
    const QImage shot = window.convertToFormat(QImage::Format_RGB32);
    const QImage own = logo.convertToFormat(QImage::Format_RGB32);
    const QImage ground = tile.convertToFormat(QImage::Format_RGB32);
    int mismatches = 0;
    for (int y = 0; y < own.height(); ++y) {
        for (int x = 0; x < own.width(); ++x) {
            const QPoint at = logoAt + QPoint(x, y);
            const QRgb pixel = own.pixel(x, y);
            const QRgb expected =
                pixel == qRgb(0, 0, 0) ? ground.pixel(at.x() % ground.width(), at.y() % ground.height()) : pixel;
            mismatches += shot.pixel(at) != expected;
        }
    }
    return mismatches;
}
