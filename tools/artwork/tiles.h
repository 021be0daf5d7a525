#pragma once
#include <QImage>

// The two background tiles: 63 x 63, 256 colours (8-bit indexed), seamless
// when repeated. Both stay dark enough behind the program's yellow text.
// Drawn for a screen scale: a picture of whole pixels that holds as many
// tiles across and down as that takes (63 x 63 at scale 1, 126 x 126 at 2,
// 315 x 315, four tiles, at 1.25).
QImage MakeMainWindowTile(double scale);
QImage MakeDialogTile(double scale);
