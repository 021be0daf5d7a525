#include "dialogs/picture_picker.h"

#include "platform/errors.h"
#include "platform/file_name_text.h"
#include "platform/handler_guard.h"
#include "platform/message_box.h"
#include "platform/move_file.h"
#include "platform/paths.h"
#include "platform/start_folder.h"
#include "preview/file_browse_controls.h"
#include "preview/picker_names.h"
#include "preview/picture_lib.h"
#include "preview/picture_name_label.h"
#include "settings/program_values.h"
#include "widgets/artwork.h"
#include "widgets/image_button.h"
#include "widgets/program_font.h"
#include "widgets/window_decoration.h"

#include <QFile>
#include <QLabel>
#include <QShortcut>

#include <cerrno>

TFormpickpix::TFormpickpix(const MainPictureControls &main, QWidget *parent)
    : BorderlessDialog(QStringLiteral("Pick a preview picture"), 600, 318, parent), main_(main)
{
    setFont(ProgramFont());
    Background1 = AddTiledBackground(this, DialogTile(devicePixelRatioF()));

    DriveComboBox1 = new DriveComboBox(this);
    DriveComboBox1->setGeometry(4, 12, 125, 19);
    DriveComboBox1->setAccessibleName(QStringLiteral("Drive"));
    DirectoryListBox1 = new DirectoryListBox(this);
    DirectoryListBox1->setGeometry(4, 36, 125, 233);
    DirectoryListBox1->setAccessibleName(QStringLiteral("Folders"));
    FilterComboBox1 = new FilterComboBox(this);
    FilterComboBox1->setGeometry(132, 12, 145, 21);
    FilterComboBox1->setAccessibleName(QStringLiteral("Pictures shown"));
    FileListBox1 = new FileListBox(this);
    FileListBox1->setGeometry(132, 36, 145, 233);
    FileListBox1->setAccessibleName(QStringLiteral("Pictures"));

    pixname = new QLabel(this);
    pixname->setGeometry(308, 8, 269, 24);
    pixname->setFont(ProgramFont(19));
    pixname->setTextFormat(Qt::PlainText);
    pixname->setStyleSheet(QStringLiteral("color: yellow; background: transparent;"));

    // A raised outer and a lowered inner bevel, one pixel each.
    Panel2 = new QFrame(this);
    Panel2->setGeometry(296, 36, 293, 233);
    Panel2->setFrameStyle(QFrame::Box | QFrame::Raised);
    Panel2->setLineWidth(1);
    Panel2->setMidLineWidth(0);
    Panel2->setAutoFillBackground(true);
    QPalette black = Panel2->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Light, Qt::white);
    black.setColor(QPalette::Dark, Qt::gray);
    Panel2->setPalette(black);
    prepix = new PreviewPicture(Panel2);
    prepix->setGeometry(2, 2, 289, 229);

    butget = new ImageButton(QStringLiteral("GET PIX"), QStringLiteral("Thats the pic for me,  matey !"), this);
    butget->setFont(ProgramFont(16));
    butget->setGeometry(132, 284, 317, 29);
    butget->setFace(ButtonGlyphImage(ButtonGlyph::GetPix, devicePixelRatioF()));
    butclose = new ImageButton(QString(), QStringLiteral("Leave this silly place"), this, ImageButton::Glyph::Close);
    butclose->setGeometry(548, 284, 45, 29);
    butclose->setFace(ButtonGlyphImage(ButtonGlyph::Close, devicePixelRatioF()));

    ConnectHandler(DriveComboBox1, &DriveComboBox::changed, this, &TFormpickpix::DriveComboBox1Change);
    ConnectHandler(DirectoryListBox1, &DirectoryListBox::changed, this, &TFormpickpix::DirectoryListBox1Change);
    ConnectHandler(DirectoryListBox1, &DirectoryListBox::listed, this, &TFormpickpix::finishActivation);
    ConnectHandler(DirectoryListBox1, &DirectoryListBox::listingFailed, this, [this] { activating_ = false; });
    ConnectHandler(FilterComboBox1, &FilterComboBox::maskChanged, FileListBox1, &FileListBox::setMask);
    ConnectHandler(FileListBox1, &FileListBox::clicked, this, &TFormpickpix::FileListBox1Click);
    ConnectHandler(FileListBox1, &QListWidget::itemDoubleClicked, this, &TFormpickpix::butgetClick);
    // The glyph buttons take no focus: Enter on a file finishes from the keyboard, as the double click does.
    auto *enterOnFile = new QShortcut(FileListBox1);
    enterOnFile->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    enterOnFile->setContext(Qt::WidgetShortcut);
    ConnectHandler(enterOnFile, &QShortcut::activated, this, [this] {
        if (FileListBox1->currentItem())
            butgetClick();
    });
    ConnectHandler(butget, &ImageButton::clicked, this, &TFormpickpix::butgetClick);
    ConnectHandler(butclose, &ImageButton::clicked, this, &TFormpickpix::butcloseClick);
}

void TFormpickpix::FormActivate()
{
    // The window is up at once; the rest follows once the folder is listed.
    // A folder that cannot be entered shows its error then, which ends the
    // activation there. No picture folder leaves the folder list where it
    // is, its files read anew all the same.
    const QByteArray folder = PixFolder.isEmpty() ? DirectoryListBox1->directory() : LocationPath(PixFolder);
    activating_ = DirectoryListBox1->setDirectory(folder);
    if (!activating_) {
        activating_ = true;
        finishActivation();
    }
}

void TFormpickpix::finishActivation()
{
    if (!activating_)
        return;
    activating_ = false;
    // The same folder as last time: files may have come and gone since.
    FileListBox1->setFiles(DirectoryListBox1->directory(), DirectoryListBox1->files());
    const QString expectedName = main_.labpixtitle->text();
    pixname->setText(PickerTitle(expectedName));
    FilterComboBox1->setFilter(PickerFilterText(expectedName));
    if (FileListBox1->count() > 0) {
        FileListBox1->setItemIndex(0);
        FileListBox1Click();
    } else {
        prepix->showStandIn();
    }
}

void TFormpickpix::DriveComboBox1Change()
{
    DirectoryListBox1->setDirectory(QFile::encodeName(DriveComboBox1->drive()));
}

void TFormpickpix::DirectoryListBox1Change()
{
    FileListBox1->setFiles(DirectoryListBox1->directory(), DirectoryListBox1->files());
}

void TFormpickpix::FileListBox1Click()
{
    const QByteArray path = FileListBox1->fileName();
    prepix->setSubject(FileNameText(FileNamePart(path)));
    // A file that does not decode leaves the picture empty, without a word.
    // The picture shown goes first, so that two large ones are never held at once.
    if (HasPcxExtension(path)) {
        prepix->clear();
        prepix->showPicture(PictureLibLoad(path.constData(), 0));
    } else {
        prepix->showStandIn();
    }
}

void TFormpickpix::butgetClick()
{
    const QByteArray source = FileListBox1->fileName();
    if (!HasPcxExtension(source)) {
        ShowMessage(MessageType::Error, QStringLiteral("Does that look like a PCX file ?"));
        return;
    }
    // The ROM's own bytes, which the label's text may not hold.
    const QByteArray destination = WithFinalSlash(LocationPath(PixFolder)) + main_.labpixtitle->pictureName();
    // A link is filed as the picture it shows, not moved to point elsewhere.
    if (!MoveFileContentA(source.constData(), destination.constData())) {
        // A name the picture folder's file system cannot hold (a ROM named
        // with "?" filed onto FAT) is said as such, with the file.
        if (IsRefusedName(errno, destination))
            throw IoError(3, destination);
        ShowMessage(MessageType::Error, QStringLiteral("Can't copy file ???"));
        return;
    }
    main_.pix->clear();
    main_.pix->showPicture(PictureLibLoad(destination.constData(), 0));
    main_.labpixtitle->setPictureName(QByteArray());
    main_.butpick->hide();
    main_.butdelpix->show();
    accept();
}

void TFormpickpix::butcloseClick()
{
    reject();
}
