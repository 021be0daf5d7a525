#pragma once
#include <QImage>

// The pointing hand shown over a link: 32 x 32, black and white on
// transparent, its hot spot (the fingertip) stored in the image's text key
// "hotspot" as "x,y".
QImage MakeLinkCursor();
