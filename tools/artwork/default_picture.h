#pragma once
#include <QImage>

// The picture shown for a ROM that has none yet (romdeck.bmp beside the
// program): 303 x 231, the size of the preview area, 24-bit colour. A small
// screen full of static says "NO PIX YET"; the bottom stays dark and quiet
// for the picture's expected name and the pick button drawn over it.
QImage MakeDefaultPicture();
