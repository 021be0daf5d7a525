#include "app/main_window.h"

#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "catalogue/header_names.h"
#include "dialogs/locations_dialog.h"
#include "platform/errors.h"
#include "platform/file_name_text.h"
#include "platform/handler_guard.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/start_folder.h"
#include "preview/picture_lib.h"
#include "preview/picture_name_label.h"
#include "preview/picture_names.h"
#include "settings/program_values.h"
#include "widgets/image_button.h"
#include "widgets/paced_caption.h"
#include "widgets/program_font.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <unistd.h>

namespace {

constexpr int kClientWidth = 576;
constexpr int kClientHeight = 425;

} // namespace

TForm1::TForm1()
{
    QWidget::setWindowTitle(QStringLiteral("Romdeck"));
    caption_ = new PacedCaption(this);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(ProgramFont());
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 72));
    setPalette(colours);
    createControls();
    createLook();
    wireControls();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

void TForm1::createControls()
{
    lstdir = new MainRomList(this);
    lstdir->setGeometry(4, 4, 260, 384);
    lstdir->setAccessibleName(QStringLiteral("ROMs"));
    QPalette listColours = lstdir->palette();
    listColours.setColor(QPalette::Base, QColor(0, 0, 128));
    listColours.setColor(QPalette::Text, Qt::yellow);
    listColours.setColor(QPalette::Highlight, Qt::yellow);
    listColours.setColor(QPalette::HighlightedText, QColor(0, 0, 128));
    lstdir->setPalette(listColours);

    butGO = new ImageButton(QStringLiteral("GO!"), QStringLiteral("Play that funky ROM "), this);
    butGO->setGeometry(4, 392, 260, 29);
    butreload = new ImageButton(QString(), QStringLiteral("Re-Load Roms"), this, ImageButton::Glyph::Reload);
    butreload->setGeometry(7, 395, 23, 23);

    panpix = new QFrame(this);
    panpix->setGeometry(268, 68, 305, 233);
    panpix->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panpix->setAutoFillBackground(true);
    panpix->setStyleSheet(QStringLiteral("QFrame { background: navy; }"));
    pix = new PreviewPicture(panpix);
    pix->setGeometry(1, 1, 303, 231);
    labpixtitle = new PictureNameLabel(panpix);
    labpixtitle->setGeometry(4, 200, 145, 21);
    labpixtitle->setFont(ProgramFont(16, true));
    labpixtitle->setStyleSheet(QStringLiteral("color: yellow; background: transparent;"));
    butpick = new ImageButton(QStringLiteral("PICK PIX"), QStringLiteral("Pick a Preview Picture"), panpix);
    butpick->setGeometry(152, 196, 149, 33);
    butpick->hide();
    butdelpix = new ImageButton(QString(), QStringLiteral("Delete Pix"), panpix, ImageButton::Glyph::Close);
    butdelpix->setLetteringColor(Qt::red);
    butdelpix->setGeometry(288, 0, 17, 21);
    butdelpix->hide();

    panopt = new OptionsPanel(DefaultOptions, this);
    panopt->setGeometry(268, 68, 305, 233);

    butoptions = new ImageButton(QStringLiteral("OPTIONS"), QStringLiteral("View Options"), this);
    butoptions->setGeometry(344, 300, 153, 25);
    butpix = new ImageButton(QStringLiteral("PIX"), QStringLiteral("View Preview Picture"), this);
    butpix->setGeometry(344, 300, 153, 25);
    butpix->hide();

    butsetup = new ImageButton(QStringLiteral("SETUP"), QStringLiteral("Setup Locations"), this);
    butsetup->setGeometry(268, 330, 100, 29);
    butedit = new ImageButton(QStringLiteral("EDIT"), QStringLiteral("Edit ROM name"), this);
    butedit->setGeometry(371, 330, 99, 29);
    butlist = new ImageButton(QStringLiteral("LIST ROMS"), QStringLiteral("Make list"), this);
    butlist->setGeometry(473, 330, 100, 29);
    butinfo = new ImageButton(QString(), QStringLiteral("Ego Screen"), this, ImageButton::Glyph::Info);
    butinfo->setGeometry(268, 392, 40, 29);
    butclose = new ImageButton(QString(), QStringLiteral("Bye Bye"), this, ImageButton::Glyph::Close);
    butclose->setGeometry(533, 392, 40, 29);
}

void TForm1::wireControls()
{
    ConnectHandler(lstdir, &MainRomList::clicked, this, &TForm1::lstdirClick);
    ConnectHandler(lstdir, &MainRomList::doubleClicked, this, &TForm1::butGOClick);
    ConnectHandler(lstdir, &MainRomList::keyPressed, this, &TForm1::lstdirKeyPress);
    // A scan's running count reaches the screen with the rows it counts.
    ConnectHandler(lstdir, &MainRomList::painting, caption_, &PacedCaption::flush);
    ConnectHandler(butGO, &ImageButton::clicked, this, &TForm1::butGOClick);
    ConnectHandler(butreload, &ImageButton::clicked, this, &TForm1::butreloadClick);
    ConnectHandler(butsetup, &ImageButton::clicked, this, &TForm1::butsetupClick);
    ConnectHandler(butedit, &ImageButton::clicked, this, &TForm1::buteditClick);
    ConnectHandler(butlist, &ImageButton::clicked, this, &TForm1::butlistClick);
    ConnectHandler(butinfo, &ImageButton::clicked, this, &TForm1::butinfoClick);
    ConnectHandler(butclose, &ImageButton::clicked, this, &TForm1::butcloseclick);
    ConnectHandler(butoptions, &ImageButton::clicked, this, &TForm1::butoptionsClick);
    ConnectHandler(butpix, &ImageButton::clicked, this, &TForm1::butpixClick);
    ConnectHandler(butpick, &ImageButton::clicked, this, &TForm1::butpickClick);
    ConnectHandler(panopt, &OptionsPanel::defaultClicked, this, &TForm1::butdefaultClick);
    ConnectHandler(panopt, &OptionsPanel::currentClicked, this, &TForm1::butcurrentClick);
    ConnectHandler(butdelpix, &ImageButton::clicked, this, &TForm1::butdelpixClick);
}

void TForm1::setSecondaryWindows(const SecondaryWindows &windows)
{
    windows_ = windows;
    windows_.locations->saveSettings = [this] { SaveSettings(); };
    windows_.locations->rebuildList = [this] { RebuildList(); };
}

QString TForm1::windowTitle() const
{
    return caption_->text();
}

void TForm1::setWindowTitle(const QString &title)
{
    caption_->setText(title);
    caption_->flush();
}

void TForm1::showEvent(QShowEvent *event)
{
    RunHandler([&] {
        QWidget::showEvent(event);
        // Without a window manager a shown window is not activated by itself.
        activateWindow();
        activation_.Shown(*event);
    });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    RunHandler([&] {
        closing_ = true;
        event->accept();
    });
}

void TForm1::FormActivate()
{
    ProgramFolder = ProgramFolderPath();
    LoadSettings();
    RebuildList();
    if (!closing_)
        lstdir->setFocus();
}

void TForm1::butreloadClick()
{
    RebuildList();
}

void TForm1::butsetupClick()
{
    windows_.locations->exec();
}

void TForm1::butlistClick()
{
    windows_.listRoms->exec();
}

void TForm1::butinfoClick()
{
    windows_.about->exec();
}

void TForm1::buteditClick()
{
    if (lstdir->itemIndex() < 0) {
        ShowMessage(MessageType::Error, QStringLiteral("You have to pick which ROM you want to edit"));
        return;
    }
    rom_info info;
    lstdir->item(lstdir->itemIndex()).object.getrominfo(info);
    InfoFileName = QFile::decodeName(info.filename);
    HeaderName = info.engname.left(47);
    windows_.romInfo->exec();
}

void TForm1::butpickClick()
{
    windows_.pickPix->exec();
}

void TForm1::butcloseclick()
{
    // A refused save raises an error here, and the window stays open.
    SaveSettings();
    close();
}

void TForm1::lstdirKeyPress(QChar key)
{
    if (key == QChar(u'\r'))
        butGOClick();
}

void TForm1::lstdirClick()
{
    if (lstdir->itemIndex() < 0)
        return;
    LoadRomOptions(SelectedSection());
    showPicture();
}

void TForm1::showPicture()
{
    const QByteArray stem = PictureStem(SelectedRomPath());
    const QByteArray picture = pictures_.find(PicturePath(LocationPath(PixFolder), stem));
    // The picture shown goes before the next one loads: held both at once,
    // two of the largest would double the peak memory.
    pix->clear();
    pix->setSubject(lstdir->item(lstdir->itemIndex()).text);
    if (!picture.isEmpty()) {
        pix->showPicture(PictureLibLoad(picture.constData(), 0));
        labpixtitle->setPictureName(QByteArray());
        butpick->hide();
        butdelpix->show();
    } else {
        pix->showStandIn(PictureLibLoad(DefaultPicturePath(ProgramFolder).constData(), 0));
        labpixtitle->setPictureName(ExpectedPictureName(stem));
        butpick->show();
        butdelpix->hide();
    }
}

void TForm1::butdelpixClick()
{
    if (ShowMessage(MessageType::Warning, QStringLiteral(" ARE YOU MAD !!\r\nDelete this lovely pix ?"),
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    if (lstdir->itemIndex() < 0)
        throw RomdeckError("List index out of bounds");
    const QByteArray picture = pictures_.find(PicturePath(LocationPath(PixFolder), PictureStem(SelectedRomPath())));
    // A refused delete shows nothing: the refreshed panel still shows the picture.
    if (!picture.isEmpty())
        ::unlink(picture.constData());
    lstdirClick();
}

void TForm1::butoptionsClick()
{
    panopt->show();
    panpix->hide();
    butoptions->hide();
    butpix->show();
}

void TForm1::butpixClick()
{
    panpix->show();
    panopt->hide();
    butpix->hide();
    butoptions->show();
}

QString TForm1::SelectedSection() const
{
    rom_info info;
    lstdir->item(lstdir->itemIndex()).object.getrominfo(info);
    return FileNameText(FileNamePart(info.filename));
}

QByteArray TForm1::SelectedRomPath() const
{
    rom_info info;
    lstdir->item(lstdir->itemIndex()).object.getrominfo(info);
    return info.filename;
}
