#pragma once
#include "widgets/borderless_dialog.h"

class ImageButton;
class QLabel;
class TBackground;
class TLogoBitmap;
class TURLLabel;

// The About window: the logo, the version, the author line, and links to the
// program's web page and e-mail address. It holds no state.
class TForm2 : public BorderlessDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    TBackground *Background1;
    TLogoBitmap *LogoBitmap1;
    QLabel *labversion;
    QLabel *labauthor;
    TURLLabel *URLLabel2; // e-mail
    QLabel *lablatest;
    TURLLabel *URLLabel1; // web page
    ImageButton *butclose;

    void butcloseClick();
};
