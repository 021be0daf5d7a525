#pragma once
#include <QDialog>

// The look every secondary window shares: no border and no title bar, a fixed
// client area centred on the screen, shown modally.
class BorderlessDialog : public QDialog
{
    Q_OBJECT
public:
    BorderlessDialog(int width, int height, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
};
