#pragma once
#include "widgets/window_activation.h"

#include <QDialog>
#include <QPoint>

#include <optional>

// The look every secondary window shares: no border and no title bar, a fixed
// client area centred on the screen (or at a screen position of its own),
// shown modally. No title bar shows its name, but the desktop and screen
// readers tell it. Each showing runs the window's activation sequence,
// FormActivate, once the window is up (WindowActivation).
class BorderlessDialog : public QDialog
{
    Q_OBJECT
public:
    BorderlessDialog(const QString &name, int width, int height, QWidget *parent = nullptr);

protected:
    // The activation sequence of each showing; none unless a window has one.
    virtual void FormActivate() {}
    // Shows the window with its top left corner here instead of centred.
    void setScreenPosition(QPoint topLeft) { screenPosition_ = topLeft; }
    void showEvent(QShowEvent *event) override;
    // These windows close only through their own buttons, never by Escape.
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<QPoint> screenPosition_;
    WindowActivation activation_{*this, [this] { FormActivate(); }, WindowActivation::Runs::EveryShowing};
};
