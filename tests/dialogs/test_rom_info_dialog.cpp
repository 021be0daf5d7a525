#include "support/main_window_fixture.h"

#include "dialogs/rom_info_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

class RomInfoDialog : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        dialog = qobject_cast<Tforminfo *>(windows->secondary.romInfo);
        ASSERT_NE(dialog, nullptr);
    }

    void add(const QString &text, const QString &path, const QByteArray &title) const
    {
        romobj object;
        object.putrominfo(rom_info{QFile::encodeName(path), title});
        form->lstdir->addItem(text, object);
    }

    // What the list holds: each entry's text, path and title.
    QStringList listContents() const
    {
        QStringList rows;
        for (int i = 0; i < form->lstdir->count(); ++i) {
            rom_info info;
            form->lstdir->item(i).object.getrominfo(info);
            rows << form->lstdir->item(i).text + u'|' + QFile::decodeName(info.filename) + u'|' +
                    QString::fromLatin1(info.engname.toHex());
        }
        return rows;
    }

    // Opens the dialog from the main window for the given row; `whileOpen`
    // sees it, then `close` presses one of its buttons.
    void openFor(int row, const std::function<void()> &whileOpen, QPushButton *Tforminfo::*close)
    {
        form->lstdir->setItemIndex(row);
        ModalAnswerer answerer;
        answerer.thenAnswer([&](QWidget *modal) {
            EXPECT_EQ(modal, dialog);
            whileOpen();
            QTest::mouseClick(dialog->*close, Qt::LeftButton);
        });
        form->buteditClick();
        EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("Tforminfo")});
        EXPECT_FALSE(dialog->isVisible());
    }

    Tforminfo *dialog = nullptr;
};

TEST_F(RomInfoDialog, ShowsTheSelectedRomAndNeitherButtonChangesAnything)
{
    // Nothing selected: only the message.
    {
        ModalAnswerer answerer;
        form->buteditClick();
        EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("Error|You have to pick which ROM you want to edit")});
    }

    const QString longPath = QStringLiteral("/roms/a folder with a rather long name/and another one/game.bin");
    const QByteArray longTitle = "THE QUITE LONG TITLE OF A CARTRIDGE FOR A TEST\xC9XTRA!";
    add(QStringLiteral("THE QUITE LONG"), longPath, longTitle);
    add(QStringLiteral("untitled.bin"), QStringLiteral("/roms/untitled.bin"), QByteArray());
    putSettings("[General]\r\nroms=/roms\r\n");
    const QStringList before = listContents();

    openFor(
        0,
        [&] {
            EXPECT_EQ(dialog->editfilename->text(), longPath) << "shown whole beyond the typing limit";
            // Cut after 47 characters, shown as the single-byte text it is.
            EXPECT_EQ(dialog->editengname->text(),
                      QStringLiteral("THE QUITE LONG TITLE OF A CARTRIDGE FOR A TEST\u00C9"));
            EXPECT_TRUE(dialog->editjapname->text().isEmpty());
            for (QLineEdit *edit : {dialog->editfilename, dialog->editengname, dialog->editjapname})
                EXPECT_TRUE(edit->isReadOnly());
            // The English name first, then the Japanese name, then the file name.
            // (The focus comes with the activation, which may follow the showing.)
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == dialog->editengname; }));
            EXPECT_EQ(dialog->editengname->nextInFocusChain(), dialog->editjapname);
            EXPECT_EQ(dialog->editjapname->nextInFocusChain(), dialog->editfilename);
            QTest::keyClicks(dialog->editengname, QStringLiteral("typed"));
        },
        &Tforminfo::butok);
    EXPECT_EQ(InfoFileName, longPath);
    EXPECT_EQ(HeaderName, longTitle.left(47));

    // Another ROM, then Cancel: the boxes follow the selection.
    openFor(
        1,
        [&] {
            EXPECT_EQ(dialog->editfilename->text(), QStringLiteral("/roms/untitled.bin"));
            EXPECT_TRUE(dialog->editengname->text().isEmpty());
            EXPECT_TRUE(dialog->editjapname->text().isEmpty());
        },
        &Tforminfo::butexit);

    EXPECT_EQ(listContents(), before);
    EXPECT_EQ(form->lstdir->itemIndex(), 1);
    EXPECT_EQ(settingsBytes(), QByteArray("[General]\r\nroms=/roms\r\n"));
    EXPECT_EQ(QDir(programDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("romdeck.ini")});
}

TEST_F(RomInfoDialog, TheTypingLimitHoldsTypingOnly)
{
    // The boxes are read-only; made writable, typing stops at 48 characters,
    // while a longer text put in from code stays whole and can be shortened.
    QLineEdit *edit = dialog->editjapname;
    edit->setReadOnly(false);
    QTest::keyClicks(edit, QString(50, u'x'));
    EXPECT_EQ(edit->text().toStdString(), std::string(48, 'x'));
    edit->setText(QString(60, u'y'));
    QTest::keyClicks(edit, QStringLiteral("z"));
    EXPECT_EQ(edit->text().toStdString(), std::string(60, 'y'));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text().toStdString(), std::string(59, 'y'));
}

} // namespace
