#pragma once
#include "widgets/borderless_dialog.h"

class ImageButton;
class QLineEdit;
class SortedRomList;
class TBackground;
class TSortableGrid;

// The ROM list window: the main list as a sortable table of file name,
// English name and Japanese name, saved as a text catalogue beside the
// program. Every showing fills the table afresh from the main list.
class Tformlistroms : public BorderlessDialog
{
    Q_OBJECT
public:
    explicit Tformlistroms(const SortedRomList &mainList, QWidget *parent = nullptr);

    TBackground *Background1;
    TSortableGrid *romgrid;
    ImageButton *butsaveasfile;
    QLineEdit *editfilename;
    ImageButton *butclose;

    // Fills the table from the main list, letting events run after each row;
    // each showing does, once the window is on the screen, so that the table
    // is seen growing.
    void FormActivate() override;
    // Writes the table in its current order to the file named in the edit.
    void butsaveasfileClick();
    void butcloseClick();

private:
    const SortedRomList &lstdir_;
};
