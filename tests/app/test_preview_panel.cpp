#include "support/main_window_fixture.h"
#include "support/pcx_files.h"

#include "platform/errors.h"
#include "preview/picture_name_label.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

namespace {

class PreviewPanel : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(QDir(workFolder).mkpath(QStringLiteral("pix")));
        PixFolder = workFolder + QStringLiteral("/pix");
        // The default picture beside the program, 7 x 5, told apart by its size.
        ASSERT_TRUE(QImage(7, 5, QImage::Format_RGB32).save(programDir.filePath(QStringLiteral("romdeck.bmp")), "BMP"));
        form->butpixClick();
    }

    // A picture of the given size in the picture folder.
    void putPicture(const QString &name, int width, int height) const
    {
        pcx_files::Layout layout;
        layout.width = width;
        layout.height = height;
        const QByteArray lines(qsizetype(layout.lineBytes()) * height, '\x01');
        QFile file(PixFolder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pcx_files::File(layout, lines, false, QByteArray(768, '\x40')));
    }

    void select(int row) const
    {
        form->lstdir->setItemIndex(row);
        form->lstdirClick();
    }

    QSize shown() const { return form->pix->pixmap().size(); }

    void expectWithoutPicture(const QString &expectedName) const
    {
        EXPECT_EQ(shown(), QSize(7, 5)) << "the default picture";
        EXPECT_EQ(form->labpixtitle->text(), expectedName);
        EXPECT_FALSE(form->butpick->isHidden());
        EXPECT_TRUE(form->butdelpix->isHidden());
    }

    void expectWithPicture(QSize size) const
    {
        EXPECT_EQ(shown(), size);
        EXPECT_TRUE(form->labpixtitle->text().isEmpty());
        EXPECT_TRUE(form->butpick->isHidden());
        EXPECT_FALSE(form->butdelpix->isHidden());
    }
};

TEST_F(PreviewPanel, LookupIgnoresCaseAndTheStemEndsAtTheFirstDot)
{
    addEntry(QStringLiteral("A SONIC"), QStringLiteral("/roms/SONIC.BIN"));
    addEntry(QStringLiteral("B TAILS"), QStringLiteral("/roms/Sonic.the.Hedgehog.bin"));
    addEntry(QStringLiteral("C NODOT"), QStringLiteral("/roms/nodot"));

    select(0);
    expectWithoutPicture(QStringLiteral("SONIC.pcx"));
    select(1);
    expectWithoutPicture(QStringLiteral("Sonic.pcx"));
    select(2);
    expectWithoutPicture(QStringLiteral("pcx"));

    // Any case counts; of several, the exact name wins, then the first in byte order.
    putPicture(QStringLiteral("sonic.Pcx"), 3, 2);
    select(0);
    expectWithPicture(QSize(3, 2));
    select(1);
    expectWithPicture(QSize(3, 2));
    putPicture(QStringLiteral("Sonic.pcx"), 4, 2);
    select(1);
    expectWithPicture(QSize(4, 2));
    putPicture(QStringLiteral("SONIC.PCX"), 6, 2);
    select(0);
    expectWithPicture(QSize(6, 2));

    // A folder named like the picture is no picture; a damaged picture shows empty.
    ASSERT_TRUE(QDir(PixFolder).mkdir(QStringLiteral("nodot.pcx")));
    ASSERT_TRUE(QDir(PixFolder).mkdir(QStringLiteral("PCX")));
    select(2);
    expectWithoutPicture(QStringLiteral("pcx"));
    QFile::remove(PixFolder + QStringLiteral("/SONIC.PCX"));
    QFile::remove(PixFolder + QStringLiteral("/Sonic.pcx"));
    QFile damaged(PixFolder + QStringLiteral("/sonic.Pcx"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a picture");
    damaged.close();
    select(0);
    expectWithPicture(QSize(0, 0)); // nothing drawn: the panel's navy shows
}

TEST_F(PreviewPanel, EverySelectionLoadsTheOptionsFirstAndTheDeleteAsksFirst)
{
    putSettings("[own.bin]\r\nusekgen=1\r\nfskip=3\r\n");
    addEntry(QStringLiteral("OWN"), QStringLiteral("/roms/own.bin"));
    putPicture(QStringLiteral("own.pcx"), 2, 2);
    select(0);
    expectWithPicture(QSize(2, 2));
    EXPECT_EQ(panel->values().fskip, 3) << "the options panel is filled while the picture panel shows";
    EXPECT_TRUE(panel->isHidden());

    {
        ModalAnswerer answerer;
        answerer.thenAnswer([](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            box->button(QMessageBox::Cancel)->click();
        });
        QTest::mouseClick(form->butdelpix, Qt::LeftButton);
        EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("Warning| ARE YOU MAD !!\r\nDelete this lovely pix ?")});
    }
    EXPECT_TRUE(QFile::exists(PixFolder + QStringLiteral("/own.pcx")));
    expectWithPicture(QSize(2, 2));

    {
        ModalAnswerer answerer; // OK
        QTest::mouseClick(form->butdelpix, Qt::LeftButton);
    }
    EXPECT_FALSE(QFile::exists(PixFolder + QStringLiteral("/own.pcx")));
    expectWithoutPicture(QStringLiteral("own.pcx"));

    // With nothing selected the list refuses, after the question, and nothing goes.
    putPicture(QStringLiteral("own.pcx"), 2, 2);
    form->lstdir->setItemIndex(-1);
    ModalAnswerer answerer;
    EXPECT_THROW(
        {
            try {
                form->butdelpixClick();
            } catch (const RomdeckError &error) {
                EXPECT_STREQ(error.what(), "List index out of bounds");
                throw;
            }
        },
        RomdeckError);
    EXPECT_TRUE(QFile::exists(PixFolder + QStringLiteral("/own.pcx")));
}

// A launch leaves the snapshot folder current; a relative picture folder
// still names the folder it named at start.
TEST_F(PreviewPanel, ARelativePictureFolderStaysTheSameFolderAfterALaunch)
{
    const QString pictures = PixFolder;
    putPicture(QStringLiteral("game.pcx"), 3, 2);
    addEntry(QStringLiteral("GAME"), QStringLiteral("/roms/game.bin"));
    PixFolder = QStringLiteral("pix");
    ASSERT_TRUE(QDir::setCurrent(pictures));

    select(0);
    expectWithPicture(QSize(3, 2));
    {
        ModalAnswerer answerer; // OK
        QTest::mouseClick(form->butdelpix, Qt::LeftButton);
    }
    EXPECT_FALSE(QFile::exists(pictures + QStringLiteral("/game.pcx")));
    expectWithoutPicture(QStringLiteral("game.pcx"));
}

TEST_F(PreviewPanel, LettersTypedQuicklyFindTheirEntryAndThePanelsFollow)
{
    putSettings("[sonic.bin]\r\nusekgen=1\r\nfskip=3\r\n");
    addEntry(QStringLiteral("OUTRUN"), QStringLiteral("/roms/outrun.bin"));
    addEntry(QStringLiteral("SEGA RALLY"), QStringLiteral("/roms/rally.bin"));
    addEntry(QStringLiteral("SONIC THE HEDGEHOG"), QStringLiteral("/roms/sonic.bin"));
    putPicture(QStringLiteral("sonic.pcx"), 3, 2);
    select(0);
    expectWithoutPicture(QStringLiteral("outrun.pcx"));

    // However slow this machine, the two letters count as one word.
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(60000);
    QTest::keyClicks(form->lstdir, QStringLiteral("so"));
    QApplication::setKeyboardInputInterval(interval);
    ASSERT_EQ(form->lstdir->itemIndex(), 2) << "\"so\" is Sonic, not the next entry that starts with \"o\"";
    expectWithPicture(QSize(3, 2));
    EXPECT_EQ(panel->values().fskip, 3);
    EXPECT_EQ(panel->values().usekgen, 1);
}

} // namespace
