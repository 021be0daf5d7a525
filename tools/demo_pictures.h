#pragma once
#include <QByteArray>
#include <QImage>

// Snapshot-like pictures for the demo collection, drawn here: 320 x 224
// scenes in few flat colours, as a console's screen shows them.
QImage DemoUnderwater();
QImage DemoGreenHills();
QImage DemoNightCity();
QImage DemoSunsetGrid();

// The picture as a 256-colour PCX file (runs, palette at the end); empty when
// it has more than 256 colours.
QByteArray DemoPcxFile(const QImage &picture);
