#include "widgets/window_decoration.h"

#include "widgets/background.h"
#include "widgets/logo_bitmap.h"

TBackground *AddTiledBackground(QWidget *window, const QImage &tile)
{
    auto *background = new TBackground(window);
    background->setAlign(TAlign::alClient);
    background->setColor1(Qt::white);
    background->setColor2(Qt::black);
    background->setBackStyle(TBackStyle::bgTileBitmap);
    background->setPicture(tile);
    background->lower();
    return background;
}

TLogoBitmap *AddTransparentLogo(QWidget *window, const QRect &place, const QImage &logo, const QColor &blendColor)
{
    auto *control = new TLogoBitmap(window);
    control->setGeometry(place);
    // As a stored layout loads it: the picture alone, the colours as set here.
    control->loadStoredPicture(logo);
    control->setBackColor(Qt::black);
    control->setBorder(0);
    control->setBlendColor(blendColor);
    control->setDrawStyle(TDrawStyle::dsNone);
    control->setColorOption(TColorOption::coTransparent);
    control->setInvertImageOnMouseDown(false);
    return control;
}
