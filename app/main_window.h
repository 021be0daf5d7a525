#pragma once
#include "catalogue/folder_scan.h"
#include "preview/picture_finder.h"
#include "widgets/preview_picture.h"
#include "widgets/window_activation.h"

#include <QWidget>

class ImageButton;
class OptionsPanel;
class PictureNameLabel;
class QDialog;
class QFrame;
class MainRomList;
class TBackground;
class PacedCaption;
class TForm3;
class TLogoBitmap;

// The secondary windows the main window opens, each created once at start.
struct SecondaryWindows
{
    QDialog *about = nullptr;
    TForm3 *locations = nullptr;
    QDialog *romInfo = nullptr;
    QDialog *pickPix = nullptr;
    QDialog *listRoms = nullptr;
};

// The main window: the ROM list, the preview and options panels, the commands.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    TForm1();
    void setSecondaryWindows(const SecondaryWindows &windows);

    // The caption. A scan changes it after every directory entry, faster than
    // a screen shows: it reads current at every change, and the window system
    // gets it whenever the list is painted, so that it counts the rows shown
    // (the entry just added aside), and at the end of each folder.
    QString windowTitle() const;
    void setWindowTitle(const QString &title);

    // Settings file operations.
    void LoadSettings();
    void SaveSettings();
    void LoadRomOptions(const QString &section);
    QString SettingsFile() const;

    // Empties the list and scans the folders again; while a scan runs, the
    // running scan starts over instead, so that no two scans ever mix.
    void RebuildList();
    void ScanRomFolders();
    bool isScanning() const { return scanning_; }
    // Reads each ROM file a scan finds, on the scan's worker threads. Tests
    // put in readers that answer late or out of order.
    RomFileReader readRomFile = ReadRomFile;

    // The handlers.
    void FormActivate();
    void butreloadClick();
    void butsetupClick();
    void butlistClick();
    void butinfoClick();
    void butcloseclick();
    void buteditClick();
    void butpickClick();
    void butdelpixClick();
    void lstdirClick();
    void lstdirKeyPress(QChar key);
    void butGOClick();
    void butoptionsClick();
    void butpixClick();
    void butdefaultClick();
    void butcurrentClick();

    // The selected entry's settings section: the file-name part of its path,
    // as FileNameText gives it, so that a name that is no valid text keeps a
    // section of its own (FileNameBytes gives the bytes back).
    QString SelectedSection() const;
    // The selected entry's stored path, as the system's own bytes.
    QByteArray SelectedRomPath() const;

    MainRomList *lstdir;
    ImageButton *butGO;
    ImageButton *butreload;
    ImageButton *butsetup;
    ImageButton *butedit;
    ImageButton *butlist;
    ImageButton *butinfo;
    ImageButton *butclose;
    ImageButton *butoptions;
    ImageButton *butpix;
    QFrame *panpix;
    PreviewPicture *pix;
    PictureNameLabel *labpixtitle;
    ImageButton *butpick;
    ImageButton *butdelpix;
    OptionsPanel *panopt;
    TLogoBitmap *LogoBitmap1;
    TBackground *Background2; // the main window's tile
    TBackground *Background1; // above it, without a picture

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    // The backgrounds, the logo and the buttons' faces.
    void createLook();
    void wireControls();
    // A scan gives way when it must start over or the window closes.
    bool scanMustStop() const { return restartRequested_ || closing_; }
    int scanFolder(const QString &folder, int count);
    void setCountCaption(int count);
    // The selected ROM's picture, or the default picture and the name the
    // picture is expected under.
    void showPicture();

    SecondaryWindows windows_;
    PacedCaption *caption_;
    // FormActivate, once per run: reloading the settings and rescanning at
    // each return from a modal window or message box would undo the user's work.
    WindowActivation activation_{*this, [this] { FormActivate(); }, WindowActivation::Runs::OncePerRun};
    bool scanning_ = false;
    bool restartRequested_ = false;
    bool closing_ = false;
    PictureFinder pictures_;
};
