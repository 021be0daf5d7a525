#include "support/decoration_probes.h"
#include "support/main_window_fixture.h"

#include "widgets/artwork.h"

namespace {

using MainWindowLook = MainWindowFixture;

TEST_F(MainWindowLook, TheTileShowsAroundTheControlsAndThroughTheLogo)
{
    const QImage shot = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage tile = MainWindowTile();
    // Beside the logo nothing but the tile, repeated from the window's corner.
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 430; x < 576; ++x)
            wrong += shot.pixel(x, y) != tile.pixel(x % 63, y % 63);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(LogoOverTileMismatches(shot, MainWindowLogo(), QPoint(268, 8), tile), 0);
}

} // namespace
