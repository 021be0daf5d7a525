#pragma once
#include "widgets/click_detector.h"

#include <QWidget>

class QDragMoveEvent;
class QDropEvent;

// A decoration control: it paints onto its parent's surface (whatever it
// leaves unpainted shows what lies behind), takes no focus, and reports the
// mouse and drag-and-drop over it as events.
class LightControl : public QWidget
{
    Q_OBJECT
public:
    explicit LightControl(QWidget *parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void mouseDown(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseUp(QMouseEvent *event);
    // Accept the event to take the drop; ignored by default.
    void dragOver(QDragMoveEvent *event);
    void dragDrop(QDropEvent *event);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    ClickDetector clicks_;
};
