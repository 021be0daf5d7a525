#pragma once
#include <QFont>

// The program's face: a sans-serif family with the metrics of the classic
// Windows dialog font, at the given pixel size (11 pixels is 8 points).
QFont ProgramFont(int pixelSize = 11, bool bold = false);
