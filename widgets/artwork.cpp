#include "widgets/artwork.h"

#include <QBitmap>
#include <QDir>
#include <QStringList>

#include <array>

namespace {

// The screen scales tools/artwork draws for (ARTWORK_SCALES, and 1).
constexpr std::array<qreal, 5> kDrawnRatios{1, 1.25, 1.5, 2, 3};

QImage Artwork(const char *name)
{
    return QImage(QStringLiteral(":/artwork/") + QLatin1String(name) + QStringLiteral(".png"));
}

// name.png at 1, name@RATIOx.png at the other ratios.
QImage Artwork(const char *name, qreal ratio)
{
    qreal drawn = kDrawnRatios.back();
    for (qreal candidate : kDrawnRatios) {
        if (candidate >= ratio - 0.001) {
            drawn = candidate;
            break;
        }
    }
    if (drawn == 1)
        return Artwork(name);
    QImage image(QStringLiteral(":/artwork/%1@%2x.png").arg(QLatin1String(name)).arg(drawn));
    image.setDevicePixelRatio(drawn);
    return image;
}

} // namespace

QImage MainWindowTile(qreal ratio)
{
    return Artwork("main_tile", ratio);
}

QImage DialogTile(qreal ratio)
{
    return Artwork("dialog_tile", ratio);
}

QImage MainWindowLogo(qreal ratio)
{
    return Artwork("logo_small", ratio);
}

QImage AboutLogo(qreal ratio)
{
    return Artwork("logo_large", ratio);
}

QImage ButtonGlyphImage(ButtonGlyph glyph, qreal ratio)
{
    switch (glyph) {
    case ButtonGlyph::Go: return Artwork("glyph_go", ratio);
    case ButtonGlyph::Setup: return Artwork("glyph_setup", ratio);
    case ButtonGlyph::Edit: return Artwork("glyph_edit", ratio);
    case ButtonGlyph::ListRoms: return Artwork("glyph_list_roms", ratio);
    case ButtonGlyph::Options: return Artwork("glyph_options", ratio);
    case ButtonGlyph::Pix: return Artwork("glyph_pix", ratio);
    case ButtonGlyph::PickPix: return Artwork("glyph_pick_pix", ratio);
    case ButtonGlyph::GetPix: return Artwork("glyph_get_pix", ratio);
    case ButtonGlyph::Save: return Artwork("glyph_save", ratio);
    case ButtonGlyph::Reload: return Artwork("glyph_reload", ratio);
    case ButtonGlyph::Info: return Artwork("glyph_info", ratio);
    case ButtonGlyph::Close: return Artwork("glyph_close", ratio);
    case ButtonGlyph::DeletePix: return Artwork("glyph_delete_pix", ratio);
    }
    return {};
}

QCursor LinkCursor()
{
    // A two-colour cursor: a bitmap of the black pixels and a mask of the
    // drawn ones (black or white); the rest is transparent.
    const QImage stored = Artwork("link_cursor");
    const QImage hand = stored.convertToFormat(QImage::Format_ARGB32);
    QImage black(hand.size(), QImage::Format_Mono);
    QImage drawn(hand.size(), QImage::Format_Mono);
    black.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    drawn.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < hand.height(); ++y) {
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb pixel = hand.pixel(x, y);
            const bool opaque = qAlpha(pixel) > 127;
            black.setPixel(x, y, opaque && qGray(pixel) < 128 ? 1 : 0);
            drawn.setPixel(x, y, opaque ? 1 : 0);
        }
    }
    const QStringList hotSpot = stored.text(QStringLiteral("hotspot")).split(u',');
    const int hotX = hotSpot.size() == 2 ? hotSpot[0].toInt() : 0;
    const int hotY = hotSpot.size() == 2 ? hotSpot[1].toInt() : 0;
    return QCursor(QBitmap::fromImage(black), QBitmap::fromImage(drawn), hotX, hotY);
}

QIcon ProgramIcon()
{
    QIcon icon;
    const QDir artwork(QStringLiteral(":/artwork"));
    for (const QString &name : artwork.entryList({QStringLiteral("icon_*.png")}))
        icon.addFile(artwork.filePath(name));
    return icon;
}
