#pragma once
#include "widgets/borderless_dialog.h"

class QLineEdit;
class QPushButton;
class TBackground;

// The ROM info dialog: the selected ROM's path and header title in read-only
// boxes. Each showing fills them from InfoFileName and HeaderName; nothing
// is ever written back.
class Tforminfo : public BorderlessDialog
{
    Q_OBJECT
public:
    explicit Tforminfo(QWidget *parent = nullptr);

    TBackground *Background1;
    QLineEdit *editfilename;
    QLineEdit *editengname;
    QLineEdit *editjapname; // never filled
    QPushButton *butok;
    QPushButton *butexit;

    void butokClick();
    void butexitClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate() override;
};
