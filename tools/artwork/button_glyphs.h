#pragma once
#include <QImage>
#include <QString>

// Faces for the program's image buttons, on a transparent ground (ARGB), to be
// centred on the button: block lettering in yellow with a drop shadow, and
// four small icons.
QImage MakeLetteringGlyph(const QString &text);
QImage MakeReloadGlyph();
QImage MakeInfoGlyph();
QImage MakeCloseGlyph();
QImage MakeDeletePixGlyph();
