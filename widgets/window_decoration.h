#pragma once
#include <QImage>
#include <QRect>

class QWidget;
class TBackground;
class TLogoBitmap;

// The tiled background that fills a window's client area behind its other
// controls (tile grid anchored at the window's top-left corner).
TBackground *AddTiledBackground(QWidget *window, const QImage &tile);

// A logo drawn at its own size at the control's top-left corner, its black
// pixels left out so that the background shows through; no frame.
TLogoBitmap *AddTransparentLogo(QWidget *window, const QRect &place, const QImage &logo, const QColor &blendColor);
