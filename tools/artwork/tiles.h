#pragma once
#include <QImage>

// The two background tiles: 63 x 63, 256 colours (8-bit indexed), seamless
// when repeated. Both stay dark enough behind the program's yellow text.
QImage MakeMainWindowTile();
QImage MakeDialogTile();
