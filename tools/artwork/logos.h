#pragma once
#include <QImage>

// The program's logo on black, black being the colour left out when it is
// drawn; 24-bit colour. The small one (150 x 57) heads the main window, the
// large one (280 x 106) the About window.
QImage MakeSmallLogo();
QImage MakeLargeLogo();
