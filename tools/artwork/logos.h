#pragma once
#include <QImage>

// The program's logo on black, black being the colour left out when it is
// drawn; 24-bit colour. The small one (150 x 57) heads the main window, the
// large one (280 x 106) the About window. Drawn for a screen scale, in as
// many whole pixels as the size at that scale needs (300 x 114 at 2).
QImage MakeSmallLogo(double scale);
QImage MakeLargeLogo(double scale);
