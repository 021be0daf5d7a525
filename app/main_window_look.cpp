#include "app/main_window.h"

#include "widgets/artwork.h"
#include "widgets/background.h"
#include "widgets/image_button.h"
#include "widgets/logo_bitmap.h"
#include "widgets/window_decoration.h"

#include <QApplication>

void TForm1::createLook()
{
    // Background1 lies above Background2 and, having no picture, lets the
    // tile show through.
    Background1 = AddTiledBackground(this, QImage());
    Background2 = AddTiledBackground(this, MainWindowTile(devicePixelRatioF()));
    LogoBitmap1 = AddTransparentLogo(this, QRect(268, 8, 153, 61), MainWindowLogo(devicePixelRatioF()),
                                     QApplication::palette().color(QPalette::Button));

    const std::pair<ImageButton *, ButtonGlyph> faces[] = {
        {butGO, ButtonGlyph::Go},        {butreload, ButtonGlyph::Reload},    {butsetup, ButtonGlyph::Setup},
        {butedit, ButtonGlyph::Edit},    {butlist, ButtonGlyph::ListRoms},    {butinfo, ButtonGlyph::Info},
        {butclose, ButtonGlyph::Close},  {butoptions, ButtonGlyph::Options},  {butpix, ButtonGlyph::Pix},
        {butpick, ButtonGlyph::PickPix}, {butdelpix, ButtonGlyph::DeletePix},
    };
    for (const auto &[button, glyph] : faces)
        button->setFace(ButtonGlyphImage(glyph, devicePixelRatioF()));
}
