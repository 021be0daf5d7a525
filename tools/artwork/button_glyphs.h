#pragma once
#include <QImage>
#include <QString>

// Faces for the program's image buttons, on a transparent ground (ARGB), to be
// centred on the button: block lettering in yellow with a drop shadow, and
// four small icons. Drawn for a screen scale: the same face in the screen's
// pixels, its size in the window's pixels times the scale, rounded up.
QImage MakeLetteringGlyph(const QString &text, double scale);
QImage MakeReloadGlyph(double scale);
QImage MakeInfoGlyph(double scale);
QImage MakeCloseGlyph(double scale);
QImage MakeDeletePixGlyph(double scale);
