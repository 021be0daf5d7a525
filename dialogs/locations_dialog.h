#pragma once
#include "widgets/borderless_dialog.h"

#include <functional>

class PathEdit;
class QPushButton;
class TBackground;

// The locations dialog: where the emulators and the three folders are. Its
// five edits are the live store of the locations for the whole run.
class TForm3 : public BorderlessDialog
{
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    TBackground *Background1;
    PathEdit *kgenloc;
    PathEdit *geneloc;
    PathEdit *romloc;
    PathEdit *cdromloc;
    PathEdit *pixloc;
    QPushButton *butok;
    QPushButton *butclose;

    // Set when the ROM or CD-ROM folder text changed during this showing.
    bool FoldersChanged = false;

    // What OK does on the main window: save the settings, rebuild the list.
    std::function<void()> saveSettings;
    std::function<void()> rebuildList;

    void butokClick();
    void butcloseClick();

    // Shows the dialog modally. The rescan that OK asks for runs once the
    // dialog's own loop has ended: while it runs, SETUP can open the dialog again.
    int exec() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate() override;
    void kgenlocChange();
    void genelocChange();
    void romlocChange();
    void cdromlocChange();
    void pixlocChange();

    bool rescanAfterClose_ = false;
};
