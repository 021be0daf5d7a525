#include "support/main_window_fixture.h"
#include "support/pcx_files.h"

#include "platform/errors.h"
#include "preview/file_browse_controls.h"
#include "preview/picture_picker.h"

#include <QLabel>
#include <QStorageInfo>

namespace {

QByteArray SmallPcx()
{
    pcx_files::Layout layout;
    layout.width = 2;
    layout.height = 2;
    return pcx_files::File(layout, QByteArray(4, '\x01'), false, QByteArray(768, '\x7f'));
}

// The picker as the main window opens it, over a picture folder of its own,
// for a selected ROM without a picture.
class PickerTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(pixDir.isValid());
        pixFolder = QFileInfo(pixDir.path()).canonicalFilePath();
        PixFolder = pixFolder;
        form->labpixtitle->setText(QStringLiteral("SONICT~1.pcx"));
        form->butpick->show();
        picker = qobject_cast<TFormpickpix *>(windows->secondary.pickPix);
        ASSERT_NE(picker, nullptr);
    }

    QString put(const QString &name, const QByteArray &bytes = SmallPcx()) const
    {
        const QString path = pixFolder + u'/' + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
        return path;
    }

    // Opens the picker with the pick button and hands it to `user` once its
    // activation has run; closes it afterwards if the user did not.
    void openPicker(const std::function<void()> &user)
    {
        ModalAnswerer answerer;
        answerer.thenAnswer([&](QWidget *modal) {
            EXPECT_EQ(modal, picker);
            QCoreApplication::sendPostedEvents(picker, QEvent::MetaCall);
            user();
            if (picker->isVisible())
                QTest::mouseClick(picker->butclose, Qt::LeftButton);
        });
        form->butpickClick();
        EXPECT_EQ(answerer.seen().value(0), QStringLiteral("TFormpickpix"));
        EXPECT_FALSE(picker->isVisible());
    }

    QStringList files() const
    {
        QStringList names;
        for (int row = 0; row < picker->FileListBox1->count(); ++row)
            names << picker->FileListBox1->item(row)->text();
        return names;
    }

    QString selectedFile() const
    {
        const QListWidgetItem *item = picker->FileListBox1->currentItem();
        return item ? item->text() : QString();
    }

    static QPoint rowCentre(QListWidget *list, const QString &text)
    {
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        if (found.isEmpty())
            return {};
        list->scrollToItem(found.front());
        return list->visualItemRect(found.front()).center();
    }

    void clickFile(const QString &name)
    {
        QTest::mouseClick(picker->FileListBox1->viewport(), Qt::LeftButton, {}, rowCentre(picker->FileListBox1, name));
    }

    void doubleClick(QListWidget *list, const QString &name)
    {
        // A double click is a click, then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, name));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, name));
    }

    // The user picks a file-type entry with the arrow keys.
    void chooseFilter(int index)
    {
        FilterComboBox *box = picker->FilterComboBox1;
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }

    // Clicks the accept button; returns the message boxes it showed.
    QStringList accept()
    {
        ModalAnswerer boxes;
        QTest::mouseClick(picker->butget, Qt::LeftButton);
        return boxes.seen();
    }

    bool previewShown() const { return !picker->prepix->pixmap().isNull(); }

    QTemporaryDir pixDir;
    QString pixFolder;
    TFormpickpix *picker = nullptr;
};

TEST_F(PickerTest, ShowsThePictureFolderWithTheRomsFileTypesAndPreviewsPcxFilesOnly)
{
    EXPECT_EQ(picker->size(), QSize(600, 318));
    put(QStringLiteral("SONIC1.pcx"));
    put(QStringLiteral("snap000.PCX"));
    put(QStringLiteral("sonic2.txt"));
    put(QStringLiteral("other.pcx"), "not a picture");
    put(QStringLiteral("README"));
    put(QStringLiteral(".hidden.pcx"));
    ASSERT_TRUE(QDir(pixFolder).mkpath(QStringLiteral("SONIC3.pcx/deeper")));
    put(QStringLiteral("SONIC3.pcx/inner.pcx"));

    openPicker([&] {
        EXPECT_EQ(picker->pixname->text(), QStringLiteral("PIX for SONICT~1 ROM"));
        FilterComboBox *types = picker->FilterComboBox1;
        ASSERT_EQ(types->count(), 3);
        EXPECT_EQ(types->itemText(0), QStringLiteral("SONIC*.pcx,snap*.pcx"));
        EXPECT_EQ(types->itemText(1), QStringLiteral("All PCX (*.pcx)"));
        EXPECT_EQ(types->itemText(2), QStringLiteral("All files (*.*)"));
        EXPECT_EQ(types->currentIndex(), 0);

        // The folder list: the path down to the picture folder, then its sub-folder.
        DirectoryListBox *folders = picker->DirectoryListBox1;
        EXPECT_EQ(folders->directory(), QFile::encodeName(pixFolder));
        EXPECT_EQ(folders->item(0)->text(), QStringLiteral("/"));
        ASSERT_EQ(folders->currentRow(), folders->count() - 2);
        EXPECT_EQ(folders->pathAt(folders->currentRow()), QFile::encodeName(pixFolder));
        EXPECT_EQ(folders->item(folders->count() - 1)->text(), QStringLiteral("SONIC3.pcx"));

        // Files only, sorted ignoring case, the first previewed.
        EXPECT_EQ(files(), (QStringList{"snap000.PCX", "SONIC1.pcx"}));
        EXPECT_EQ(selectedFile(), QStringLiteral("snap000.PCX"));
        EXPECT_TRUE(previewShown());
        chooseFilter(1);
        EXPECT_EQ(files(), (QStringList{"other.pcx", "snap000.PCX", "SONIC1.pcx"}));
        chooseFilter(2);
        EXPECT_EQ(files(), (QStringList{"other.pcx", "README", "snap000.PCX", "SONIC1.pcx", "sonic2.txt"}));

        clickFile(QStringLiteral("sonic2.txt"));
        EXPECT_FALSE(previewShown());
        clickFile(QStringLiteral("SONIC1.pcx"));
        EXPECT_TRUE(previewShown());
        clickFile(QStringLiteral("other.pcx")); // named PCX, but not one: an empty preview, no word
        EXPECT_FALSE(previewShown());

        // Into the sub-folder and back by double clicks.
        doubleClick(folders, QStringLiteral("SONIC3.pcx"));
        EXPECT_EQ(folders->directory(), QFile::encodeName(pixFolder + QStringLiteral("/SONIC3.pcx")));
        EXPECT_EQ(folders->item(folders->count() - 1)->text(), QStringLiteral("deeper"));
        EXPECT_EQ(files(), QStringList{"inner.pcx"});
        doubleClick(folders, QFileInfo(pixFolder).fileName());
        EXPECT_EQ(folders->directory(), QFile::encodeName(pixFolder));
    });
    EXPECT_EQ(form->labpixtitle->text(), QStringLiteral("SONICT~1.pcx"));
    EXPECT_FALSE(form->butpick->isHidden());
    EXPECT_TRUE(form->butdelpix->isHidden());
    EXPECT_TRUE(QFile::exists(pixFolder + QStringLiteral("/snap000.PCX")));

    // The same ROM again: the user's file type stays, and the list is read anew.
    put(QStringLiteral("snap001.pcx"));
    openPicker([&] {
        EXPECT_EQ(picker->FilterComboBox1->currentIndex(), 2);
        EXPECT_EQ(files(),
                  (QStringList{"other.pcx", "README", "snap000.PCX", "snap001.pcx", "SONIC1.pcx", "sonic2.txt"}));
        EXPECT_EQ(selectedFile(), QStringLiteral("other.pcx"));
        EXPECT_FALSE(previewShown());
    });

    // Another ROM: its own types, the first in force.
    form->labpixtitle->setText(QStringLiteral("OTHER.pcx"));
    openPicker([&] {
        EXPECT_EQ(picker->pixname->text(), QStringLiteral("PIX for OTHER ROM"));
        EXPECT_EQ(picker->FilterComboBox1->currentIndex(), 0);
        EXPECT_EQ(picker->FilterComboBox1->currentText(), QStringLiteral("OTHER*.pcx,snap*.pcx"));
        EXPECT_EQ(files(), (QStringList{"other.pcx", "snap000.PCX", "snap001.pcx"}));
        chooseFilter(1);
    });
    // The same types but for case count as the same.
    form->labpixtitle->setText(QStringLiteral("other.pcx"));
    openPicker([&] { EXPECT_EQ(picker->FilterComboBox1->currentIndex(), 1); });

    // The drive box: mounted volumes by their roots, the system's root first;
    // choosing one moves the folder list to its root.
    openPicker([&] {
        DriveComboBox *drives = picker->DriveComboBox1;
        ASSERT_GE(drives->count(), 1);
        EXPECT_EQ(drives->itemText(0), QStringLiteral("/"));
        for (int i = 0; i < drives->count(); ++i)
            EXPECT_EQ(QStorageInfo(drives->itemText(i)).rootPath(), drives->itemText(i));
        if (drives->count() > 1)
            drives->setCurrentIndex(drives->currentIndex() == 0 ? 1 : 0);
        else
            picker->DriveComboBox1Change();
        EXPECT_EQ(picker->DirectoryListBox1->directory(),
                  QFile::encodeName(QFileInfo(drives->currentText()).canonicalFilePath()));
        EXPECT_EQ(picker->DirectoryListBox1->pathAt(picker->DirectoryListBox1->currentRow()),
                  picker->DirectoryListBox1->directory());
    });
}

TEST_F(PickerTest, AcceptMovesTheChosenPcxFileUnderTheExpectedNameAndShowsIt)
{
    const QString incoming = pixFolder + QStringLiteral("/incoming");
    ASSERT_TRUE(QDir().mkdir(incoming));
    put(QStringLiteral("incoming/snap000.PcX"));
    put(QStringLiteral("incoming/notes.txt"), "notes");
    const QString destination = put(QStringLiteral("SONICT~1.pcx"), "an earlier picture");

    openPicker([&] {
        doubleClick(picker->DirectoryListBox1, QStringLiteral("incoming"));
        EXPECT_EQ(files(), QStringList{"snap000.PcX"});
        chooseFilter(2);
        clickFile(QStringLiteral("notes.txt"));
        EXPECT_EQ(accept(), QStringList{"Error|Does that look like a PCX file ?"});
        // The box closing runs no activation: the choice is still there.
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(selectedFile(), QStringLiteral("notes.txt"));

        // The name is taken: nothing moves.
        clickFile(QStringLiteral("snap000.PcX"));
        EXPECT_EQ(accept(), QStringList{"Error|Can't copy file ???"});
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(files(), (QStringList{"notes.txt", "snap000.PcX"}));
        QFile earlier(destination);
        ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlier.readAll(), "an earlier picture");
        EXPECT_FALSE(form->butpick->isHidden());

        ASSERT_TRUE(QFile::remove(destination));
        ModalAnswerer boxes;
        doubleClick(picker->FileListBox1, QStringLiteral("snap000.PcX"));
        EXPECT_EQ(boxes.seen(), QStringList());
        EXPECT_FALSE(picker->isVisible());
    });
    EXPECT_FALSE(QFile::exists(incoming + QStringLiteral("/snap000.PcX")));
    QFile moved(destination);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), SmallPcx());
    EXPECT_EQ(form->pix->pixmap().size(), QSize(2, 2));
    EXPECT_EQ(form->labpixtitle->text(), QString());
    EXPECT_TRUE(form->butpick->isHidden());
    EXPECT_FALSE(form->butdelpix->isHidden());
}

TEST_F(PickerTest, NoFileToTakeOrAPictureFolderThatCannotBeEnteredIsTold)
{
    openPicker([&] {
        EXPECT_EQ(files(), QStringList());
        EXPECT_FALSE(previewShown());
        EXPECT_EQ(accept(), QStringList{"Error|Does that look like a PCX file ?"});
        EXPECT_TRUE(picker->isVisible());
    });

    // The folder's error ends the activation; the window is open. The program's
    // error handler shows the error; here it reaches the test.
    form->labpixtitle->setText(QStringLiteral("NEW.pcx"));
    put(QStringLiteral("a file"));
    const struct
    {
        QString folder;
        const char *error;
    } cases[] = {
        {pixFolder + QStringLiteral("/missing"), "File not found"},
        {pixFolder + QStringLiteral("/a file"), "Invalid filename"},
    };
    for (const auto &bad : cases) {
        SCOPED_TRACE(bad.folder.toStdString());
        PixFolder = bad.folder;
        picker->show();
        try {
            QCoreApplication::sendPostedEvents(picker, QEvent::MetaCall);
            ADD_FAILURE() << "no error raised";
        } catch (const IoError &error) {
            EXPECT_STREQ(error.what(), bad.error);
        }
        EXPECT_TRUE(picker->isVisible());
        EXPECT_EQ(picker->pixname->text(), QStringLiteral("PIX for SONICT~1 ROM"));
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        picker->hide();
    }

    // No picture folder at all: the folder list stays where it was.
    PixFolder.clear();
    openPicker([&] {
        EXPECT_EQ(picker->DirectoryListBox1->directory(), QFile::encodeName(pixFolder));
        EXPECT_EQ(picker->pixname->text(), QStringLiteral("PIX for NEW ROM"));
    });
}

} // namespace
