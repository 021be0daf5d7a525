#include "support/latency_share.h"
#include "support/main_window_fixture.h"
#include "support/pcx_files.h"

#include "dialogs/picture_picker.h"
#include "platform/folder_reader.h"
#include "preview/file_browse_controls.h"
#include "preview/picture_name_label.h"

#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <QStorageInfo>

#include <unistd.h>

namespace {

QByteArray SmallPcx()
{
    pcx_files::Layout layout;
    layout.width = 2;
    layout.height = 2;
    return pcx_files::File(layout, QByteArray(4, '\x01'), false, QByteArray(768, '\x7f'));
}

QStringList Texts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// The picker as the main window opens it over a picture folder of its own,
// for a selected ROM without a picture.
class PickerTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        pixFolder = QFileInfo(pixDir.path()).canonicalFilePath();
        PixFolder = pixFolder;
        form->labpixtitle->setPictureName("SONICT~1.pcx");
        form->butpick->show();
        picker = qobject_cast<TFormpickpix *>(windows->secondary.pickPix);
        ASSERT_NE(picker, nullptr);
    }

    QString put(const QString &name, const QByteArray &bytes = SmallPcx()) const
    {
        QFile file(pixFolder + u'/' + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
        return file.fileName();
    }

    // Opens the picker with the pick button and hands it to `user` once its
    // activation has run (or only begun, its folder being listed); closes it
    // afterwards unless the user did.
    void openPicker(const std::function<void()> &user, bool listedFirst = true)
    {
        ModalAnswerer answerer;
        answerer.thenAnswer([&](QWidget *modal) {
            EXPECT_EQ(modal, picker);
            QCoreApplication::sendPostedEvents(picker, QEvent::MetaCall);
            if (listedFirst)
                listed();
            user();
            if (picker->isVisible())
                QTest::mouseClick(picker->butclose, Qt::LeftButton);
        });
        form->butpickClick();
        EXPECT_EQ(answerer.seen().value(0), "TFormpickpix");
        EXPECT_FALSE(picker->isVisible());
    }

    QStringList files() const { return Texts(picker->FileListBox1); }
    QString selectedFile() const
    {
        return picker->FileListBox1->currentItem() ? picker->FileListBox1->currentItem()->text() : QString();
    }
    bool previewShown() const { return !picker->prepix->pixmap().isNull(); }

    // Lets the folder being listed show.
    void listed() const { ASSERT_TRUE(WaitUntil([&] { return !picker->DirectoryListBox1->isListing(); })); }

    void click(QListWidget *list, const QString &text, bool twice = false)
    {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        list->scrollToItem(found.front());
        const QPoint at = list->visualItemRect(found.front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        listed();
    }

    // The user picks a file-type entry with the arrow keys.
    void chooseFilter(int index)
    {
        while (picker->FilterComboBox1->currentIndex() != index)
            QTest::keyClick(picker->FilterComboBox1,
                            picker->FilterComboBox1->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }

    // Clicks the accept button; returns the message boxes it showed.
    QStringList accept()
    {
        ModalAnswerer boxes;
        QTest::mouseClick(picker->butget, Qt::LeftButton);
        return boxes.seen();
    }

    QTemporaryDir pixDir;
    QString pixFolder;
    TFormpickpix *picker = nullptr;
};

TEST_F(PickerTest, ShowsThePictureFolderWithTheRomsFileTypesAndPreviewsPcxFilesOnly)
{
    EXPECT_EQ(picker->size(), QSize(600, 318));
    put("SONIC1.pcx");
    put("snap000.PCX");
    put("sonic2.txt");
    put("other.pcx", "not a picture");
    put("README");
    put(".hidden.pcx");
    ASSERT_TRUE(QDir(pixFolder).mkpath("SONIC3.pcx/deeper"));
    put("SONIC3.pcx/inner.pcx");

    openPicker([&] {
        EXPECT_EQ(picker->pixname->text(), "PIX for SONICT~1 ROM");
        QStringList types;
        for (int i = 0; i < picker->FilterComboBox1->count(); ++i)
            types << picker->FilterComboBox1->itemText(i);
        EXPECT_EQ(types, (QStringList{"SONIC*.pcx,snap*.pcx", "All PCX (*.pcx)", "All files (*.*)"}));

        // The path down to the picture folder, which is selected, then its sub-folder.
        DirectoryListBox *folders = picker->DirectoryListBox1;
        QStringList path = pixFolder.split(u'/', Qt::SkipEmptyParts);
        path.prepend("/");
        EXPECT_EQ(Texts(folders), path + QStringList{"SONIC3.pcx"});
        EXPECT_EQ(folders->currentRow(), path.size() - 1);

        // Files only, sorted ignoring case, the first previewed.
        EXPECT_EQ(files(), (QStringList{"snap000.PCX", "SONIC1.pcx"}));
        EXPECT_EQ(selectedFile(), "snap000.PCX");
        EXPECT_TRUE(previewShown());
        chooseFilter(1);
        EXPECT_EQ(files(), (QStringList{"other.pcx", "snap000.PCX", "SONIC1.pcx"}));
        chooseFilter(2);
        EXPECT_EQ(files(), (QStringList{"other.pcx", "README", "snap000.PCX", "SONIC1.pcx", "sonic2.txt"}));
        click(picker->FileListBox1, "sonic2.txt");
        EXPECT_FALSE(previewShown());
        click(picker->FileListBox1, "SONIC1.pcx");
        EXPECT_TRUE(previewShown());
        click(picker->FileListBox1, "other.pcx"); // named PCX but not one: no picture, no word
        EXPECT_FALSE(previewShown());

        click(folders, "SONIC3.pcx", true);
        EXPECT_EQ(Texts(folders), path + (QStringList{"SONIC3.pcx", "deeper"}));
        EXPECT_EQ(files(), QStringList{"inner.pcx"});
        click(folders, path.last(), true);
        EXPECT_EQ(folders->directory(), QFile::encodeName(pixFolder));

        // The drive box: volumes by their roots, the system's root first;
        // choosing one moves the folder list to that root.
        DriveComboBox *drives = picker->DriveComboBox1;
        EXPECT_EQ(drives->itemText(0), "/");
        for (int i = 0; i < drives->count(); ++i)
            EXPECT_EQ(QStorageInfo(drives->itemText(i)).rootPath(), drives->itemText(i));
        picker->DriveComboBox1Change();
        listed();
        EXPECT_EQ(folders->directory(), QFile::encodeName(QFileInfo(drives->currentText()).canonicalFilePath()));
    });
    EXPECT_EQ(form->labpixtitle->text(), "SONICT~1.pcx");
    EXPECT_FALSE(form->butpick->isHidden());
    EXPECT_TRUE(form->butdelpix->isHidden());

    // The same ROM again: back in the picture folder, the user's file type
    // stays, and the files are read anew.
    put("snap001.pcx");
    openPicker([&] {
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        EXPECT_EQ(picker->FilterComboBox1->currentIndex(), 2);
        EXPECT_EQ(files(),
                  (QStringList{"other.pcx", "README", "snap000.PCX", "snap001.pcx", "SONIC1.pcx", "sonic2.txt"}));
        EXPECT_EQ(selectedFile(), "other.pcx");
    });
    // Another ROM: its own types, the first in force; one whose types differ
    // only in case keeps the user's choice.
    form->labpixtitle->setPictureName("OTHER.pcx");
    openPicker([&] {
        EXPECT_EQ(picker->pixname->text(), "PIX for OTHER ROM");
        EXPECT_EQ(picker->FilterComboBox1->currentText(), "OTHER*.pcx,snap*.pcx");
        EXPECT_EQ(files(), (QStringList{"other.pcx", "snap000.PCX", "snap001.pcx"}));
        chooseFilter(1);
    });
    form->labpixtitle->setPictureName("other.pcx");
    openPicker([&] { EXPECT_EQ(picker->FilterComboBox1->currentIndex(), 1); });
}

TEST_F(PickerTest, AcceptMovesTheChosenPcxFileUnderTheExpectedNameAndShowsIt)
{
    ASSERT_TRUE(QDir(pixFolder).mkdir("incoming"));
    const QString chosen = put("incoming/snap000.PcX");
    put("incoming/notes.txt", "notes");
    const QString destination = put("SONICT~1.pcx", "an earlier picture");

    openPicker([&] {
        click(picker->DirectoryListBox1, "incoming", true);
        EXPECT_EQ(files(), QStringList{"snap000.PcX"});
        chooseFilter(2);
        click(picker->FileListBox1, "notes.txt");
        EXPECT_EQ(accept(), QStringList{"Error|Does that look like a PCX file ?"});
        // The box closing runs no activation: the choice is still there.
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(selectedFile(), "notes.txt");

        // The name is taken: nothing moves.
        click(picker->FileListBox1, "snap000.PcX");
        EXPECT_EQ(accept(), QStringList{"Error|Can't copy file ???"});
        EXPECT_TRUE(picker->isVisible());
        EXPECT_TRUE(QFile::exists(chosen));
        QFile earlier(destination);
        EXPECT_TRUE(earlier.open(QIODevice::ReadOnly) && earlier.readAll() == "an earlier picture");
        // A name the folder cannot hold is told, with the file.
        const QByteArray name = form->labpixtitle->pictureName();
        form->labpixtitle->setPictureName(QByteArray(256, 'n'));
        EXPECT_EQ(accept(), QStringList{"Test_preview|Invalid filename: " + pixFolder + "/" + QString(256, 'n') + "."});
        form->labpixtitle->setPictureName(name);

        ASSERT_TRUE(QFile::remove(destination));
        ModalAnswerer boxes;
        click(picker->FileListBox1, "snap000.PcX", true);
        EXPECT_EQ(boxes.seen(), QStringList());
    });
    EXPECT_FALSE(QFile::exists(chosen));
    QFile moved(destination);
    EXPECT_TRUE(moved.open(QIODevice::ReadOnly) && moved.readAll() == SmallPcx());
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
    EXPECT_EQ(form->labpixtitle->text(), QString());
    EXPECT_TRUE(form->butpick->isHidden());
    EXPECT_FALSE(form->butdelpix->isHidden());
}

// A relative link filed in the picture folder would point at nothing there:
// the picture filed is the one the preview showed, and its file stays.
TEST_F(PickerTest, AcceptingALinkFilesThePictureItShows)
{
    ASSERT_TRUE(QDir(pixFolder).mkdir("incoming"));
    const QString target = put("incoming/real.pcx");
    ASSERT_TRUE(QFile::link("real.pcx", pixFolder + "/incoming/snap1.pcx"));
    openPicker([&] {
        click(picker->DirectoryListBox1, "incoming", true);
        click(picker->FileListBox1, "snap1.pcx");
        EXPECT_TRUE(previewShown());
        EXPECT_EQ(picker->prepix->accessibleName(), "Preview picture of snap1.pcx");
        EXPECT_EQ(accept(), QStringList());
    });
    const QFileInfo filed(pixFolder + "/SONICT~1.pcx");
    EXPECT_TRUE(filed.isFile() && !filed.isSymLink());
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
    EXPECT_FALSE(QFileInfo::exists(pixFolder + "/incoming/snap1.pcx"));
    QFile kept(target);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == SmallPcx());
}

// A ROM whose name is no valid UTF-8 shows it with U+FFFD, but its picture is
// filed under the name's own bytes, where the preview finds it again.
TEST_F(PickerTest, APictureIsFiledUnderTheRomsOwnBytes)
{
    const QByteArray filed = QFile::encodeName(pixFolder) + "/Pok\xE9mon.pcx";
    const auto removeFiled = qScopeGuard([&] { ::unlink(filed.constData()); });
    addEntry("POKEMON", QByteArray("/roms/Pok\xE9mon.bin"));
    form->lstdir->setItemIndex(0);
    form->lstdirClick();
    EXPECT_EQ(form->labpixtitle->text(), QString::fromUtf8("Pok\uFFFDmon.pcx"));
    put("snap000.pcx");
    openPicker([&] {
        EXPECT_EQ(picker->pixname->text(), QString::fromUtf8("PIX for Pok\uFFFDmon ROM"));
        EXPECT_EQ(accept(), QStringList());
    });
    QList<QByteArray> names;
    FolderReader reader(QFile::encodeName(pixFolder));
    for (QByteArray name; reader.next(name);)
        names << name;
    names.removeAll(".");
    names.removeAll("..");
    EXPECT_EQ(names, QList<QByteArray>{"Pok\xE9mon.pcx"});
    form->lstdirClick();
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
    EXPECT_EQ(form->labpixtitle->text(), QString());
}

// A launch leaves the snapshot folder current; a relative picture folder
// still names the folder it named at start.
TEST_F(PickerTest, ARelativePictureFolderStaysTheSameFolderAfterALaunch)
{
    ASSERT_TRUE(QDir(workFolder).mkdir("shots"));
    pixFolder = QFileInfo(workFolder + "/shots").canonicalFilePath();
    PixFolder = "shots";
    ASSERT_TRUE(QDir::setCurrent(pixFolder));
    const QString chosen = put("snap000.pcx");
    openPicker([&] {
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        EXPECT_EQ(files(), QStringList{"snap000.pcx"});
        // Enter on the file takes it, as a double click does.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return picker->FileListBox1->setFocus(), picker->FileListBox1->hasFocus(); }));
        QTest::keyClick(picker->FileListBox1, Qt::Key_Return);
    });
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_TRUE(QFile::exists(pixFolder + "/SONICT~1.pcx"));
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
}

TEST_F(PickerTest, NoFileToTakeOrAPictureFolderThatCannotBeEnteredIsTold)
{
    openPicker([&] {
        EXPECT_EQ(files(), QStringList());
        EXPECT_FALSE(previewShown());
        EXPECT_EQ(accept(), QStringList{"Error|Does that look like a PCX file ?"});
        EXPECT_TRUE(picker->isVisible());
    });

    // The folder's error ends the activation over an open window, in the
    // general error box.
    form->labpixtitle->setPictureName("NEW.pcx");
    put("a file");
    for (const auto &[folder, error] :
         {std::pair{QString("/missing"), "File not found"}, std::pair{QString("/a file"), "Invalid filename"}}) {
        PixFolder = pixFolder + folder;
        picker->show();
        ModalAnswerer boxes;
        QCoreApplication::sendPostedEvents(picker, QEvent::MetaCall);
        listed();
        ASSERT_EQ(boxes.seen().size(), 1) << "no error for " << folder.toStdString();
        EXPECT_TRUE(boxes.seen()[0].startsWith(QStringLiteral("Test_preview|") + error)) << boxes.seen()[0].toStdString();
        EXPECT_TRUE(boxes.seen()[0].endsWith(u'.')) << boxes.seen()[0].toStdString();
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->pixname->text(), "PIX for SONICT~1 ROM");
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        picker->hide();
    }

    // No picture folder at all: the folder list stays where it was.
    PixFolder.clear();
    openPicker([&] {
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        EXPECT_EQ(picker->pixname->text(), "PIX for NEW ROM");
    });
}

// A folder listed and then removed: entering it tells the error, and the
// picker stays open and works on, then and at its next opening.
TEST_F(PickerTest, EnteringAFolderGoneSinceItWasListedIsToldAndThePickerWorksOn)
{
    ASSERT_TRUE(QDir(pixFolder).mkdir("gone"));
    openPicker([&] {
        ASSERT_TRUE(QDir(pixFolder).rmdir("gone"));
        ModalAnswerer boxes;
        click(picker->DirectoryListBox1, "gone", true);
        EXPECT_EQ(boxes.seen(), QStringList{"Test_preview|File not found: " + pixFolder + "/gone."});
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
    });
    const QString chosen = put("snap000.pcx");
    openPicker([&] { EXPECT_EQ(accept(), QStringList()); });
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_TRUE(QFile::exists(pixFolder + "/SONICT~1.pcx"));
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
}

// A folder on a slow share leaves the picker answering while it is listed;
// one whose listing fails midway is told as one that cannot be entered is.
TEST_F(PickerTest, ASlowShareLeavesThePickerAnsweringAndAFailedListingIsTold)
{
    ASSERT_TRUE(QDir(pixFolder).mkdir("broken"));
    LatencyShare share(pixFolder, {"--latency-us", "300000", "--failing-listing", "broken"});
    if (share.problem)
        GTEST_SKIP() << share.problem;
    PixFolder = share.mountPoint + "/broken";
    openPicker([&] { EXPECT_TRUE(picker->DirectoryListBox1->isListing()); }, false);
    // Told over the open picker, whose own answerer waits for it.
    QStringList told;
    openPicker(
        [&] {
            QTimer answering;
            QObject::connect(&answering, &QTimer::timeout, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                    told << box->text(), box->accept();
            });
            answering.start(5);
            listed();
        },
        false);
    EXPECT_EQ(told, QStringList{"I/O error 5: " + PixFolder + "."});
}

} // namespace
