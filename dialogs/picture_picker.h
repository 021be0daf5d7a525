#pragma once
#include "widgets/borderless_dialog.h"
#include "widgets/preview_picture.h"

class DirectoryListBox;
class DriveComboBox;
class FileListBox;
class FilterComboBox;
class ImageButton;
class PictureNameLabel;
class QFrame;
class QLabel;
class TBackground;

// The main window's picture panel controls that the picker reads and sets;
// they belong to the main window.
struct MainPictureControls
{
    PreviewPicture *pix = nullptr;           // the picture
    PictureNameLabel *labpixtitle = nullptr; // the expected picture name while no picture is shown
    QWidget *butpick = nullptr;
    QWidget *butdelpix = nullptr;
};

// The picture picker: browse the disks for a PCX file and move it into the
// picture folder as the selected ROM's picture.
class TFormpickpix : public BorderlessDialog
{
    Q_OBJECT
public:
    explicit TFormpickpix(const MainPictureControls &main, QWidget *parent = nullptr);

    TBackground *Background1;
    DriveComboBox *DriveComboBox1;
    DirectoryListBox *DirectoryListBox1;
    FilterComboBox *FilterComboBox1;
    FileListBox *FileListBox1;
    QLabel *pixname;
    QFrame *Panel2;
    PreviewPicture *prepix;
    ImageButton *butget;
    ImageButton *butclose;

    // Each showing, once the window is up, so that an error it raises shows
    // over the open picker.
    void FormActivate() override;
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void FileListBox1Click();
    void butgetClick();
    void butcloseClick();

private:
    // The part of the activation that waits for the folder's listing.
    void finishActivation();

    MainPictureControls main_;
    bool activating_ = false;
};
