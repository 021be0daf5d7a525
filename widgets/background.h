#pragma once
#include "widgets/background_painting.h"
#include "widgets/light_control.h"

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A window's background: a colour, a top-to-bottom gradient, a picture or a
// tiled picture over the control's area, painted only where a repaint asks.
// At creation: 144 x 144, Color1 white, Color2 black, bgSingleColor, an
// empty picture. Put it behind the window's other controls (lower()).
class TBackground : public LightControl
{
    Q_OBJECT
public:
    explicit TBackground(QWidget *parent = nullptr);

    // Keeps the control at an edge of its parent, or filling it (alClient),
    // as the parent resizes.
    TAlign Align() const { return align_; }
    void setAlign(TAlign align);

    const QImage &Picture() const { return picture_; }
    void setPicture(const QImage &picture);
    QColor Color1() const { return look_.color1; }
    void setColor1(const QColor &color);
    QColor Color2() const { return look_.color2; }
    void setColor2(const QColor &color);
    TBackStyle BackStyle() const { return look_.style; }
    void setBackStyle(TBackStyle style);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void followParent();

    TAlign align_ = TAlign::alNone;
    QImage picture_;
    BackgroundLook look_; // its picture: picture_ in a format quick to copy
};
