#pragma once
#include "widgets/light_control.h"
#include "widgets/logo_painting.h"

// A picture with an optional frame, one of its colours left out (so the
// background shows through) or replaced. At creation: 64 x 64, Border 2,
// BlendColor the button face, BackColor black, coNone, dsNone, AutoSize off,
// an empty picture.
class TLogoBitmap : public LightControl
{
    Q_OBJECT
public:
    explicit TLogoBitmap(QWidget *parent = nullptr);

    QColor BackColor() const { return look_.backColor; }
    void setBackColor(const QColor &color);
    int Border() const { return look_.border; }
    void setBorder(int border); // clamped to 0..9
    QColor BlendColor() const { return look_.blendColor; }
    void setBlendColor(const QColor &color);
    // Copies the picture, takes its top-left pixel's colour as BackColor,
    // and fits the control to it when AutoSize is on.
    const QImage &Picture() const { return picture_; }
    void setPicture(const QImage &picture);
    // The picture of a stored layout: BackColor and size stay as they are.
    void loadStoredPicture(const QImage &picture);
    TDrawStyle DrawStyle() const { return look_.drawStyle; }
    void setDrawStyle(TDrawStyle style);
    TColorOption ColorOption() const { return look_.colorOption; }
    void setColorOption(TColorOption option);
    // Kept with the control; the drawing never depends on it.
    bool InvertImageOnMouseDown() const { return invertImageOnMouseDown_; }
    void setInvertImageOnMouseDown(bool invert) { invertImageOnMouseDown_ = invert; }
    // When on, the control takes the picture's size plus the border on each side.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

    // Drags the picture away from the control, between startDrag and endDrag.
    void beginDrag();

signals:
    void startDrag();
    void endDrag(bool dropped);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fitToPicture();

    LogoLook look_;
    QImage picture_;
    bool invertImageOnMouseDown_ = false;
    bool autoSize_ = false;
};
