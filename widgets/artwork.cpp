#include "widgets/artwork.h"

#include <QBitmap>
#include <QStringList>

namespace {

QImage Artwork(const char *name)
{
    return QImage(QStringLiteral(":/artwork/") + QLatin1String(name));
}

} // namespace

QImage MainWindowTile()
{
    return Artwork("main_tile.png");
}

QImage DialogTile()
{
    return Artwork("dialog_tile.png");
}

QImage MainWindowLogo()
{
    return Artwork("logo_small.png");
}

QImage AboutLogo()
{
    return Artwork("logo_large.png");
}

QImage ButtonGlyphImage(ButtonGlyph glyph)
{
    switch (glyph) {
    case ButtonGlyph::Go: return Artwork("glyph_go.png");
    case ButtonGlyph::Setup: return Artwork("glyph_setup.png");
    case ButtonGlyph::Edit: return Artwork("glyph_edit.png");
    case ButtonGlyph::ListRoms: return Artwork("glyph_list_roms.png");
    case ButtonGlyph::Options: return Artwork("glyph_options.png");
    case ButtonGlyph::Pix: return Artwork("glyph_pix.png");
    case ButtonGlyph::PickPix: return Artwork("glyph_pick_pix.png");
    case ButtonGlyph::GetPix: return Artwork("glyph_get_pix.png");
    case ButtonGlyph::Save: return Artwork("glyph_save.png");
    case ButtonGlyph::Reload: return Artwork("glyph_reload.png");
    case ButtonGlyph::Info: return Artwork("glyph_info.png");
    case ButtonGlyph::Close: return Artwork("glyph_close.png");
    case ButtonGlyph::DeletePix: return Artwork("glyph_delete_pix.png");
    }
    return {};
}

QCursor LinkCursor()
{
    // A two-colour cursor: a bitmap of the black pixels and a mask of the
    // drawn ones (black or white); the rest is transparent.
    const QImage stored = Artwork("link_cursor.png");
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
