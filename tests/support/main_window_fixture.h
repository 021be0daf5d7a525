#pragma once
#include "app/main_rom_list.h"
#include "app/main_window.h"
#include "app/options_panel.h"
#include "app/program_windows.h"
#include "dialogs/locations_dialog.h"
#include "settings/program_values.h"
#include "support/modal_answerer.h"
#include "support/program_values_fixture.h"
#include "widgets/image_button.h"
#include "widgets/path_edit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Lets events run until `done` holds or the deadline passes; true when it holds.
inline bool WaitUntil(const std::function<bool()> &done, int milliseconds = 10000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(2);
    }
    return true;
}

// The program's windows with the program folder and the working folder in
// temporary folders of their own; the program-wide values start empty.
class MainWindowFixture : public ProgramValuesFixture
{
protected:
    void SetUp() override
    {
        ProgramValuesFixture::SetUp();
        ASSERT_TRUE(programDir.isValid());
        ASSERT_TRUE(workDir.isValid());
        savedCurrent_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(workDir.path()));
        workFolder = QDir::currentPath();
        ProgramFolder = programDir.path();
        windows = std::make_unique<ProgramWindows>();
        form = windows->Form1.get();
        locations = windows->secondary.locations;
        panel = form->panopt;
    }

    void TearDown() override
    {
        windows.reset();
        QDir::setCurrent(savedCurrent_);
        ProgramValuesFixture::TearDown();
    }

    QString settingsPath() const { return programDir.filePath(QStringLiteral("romdeck.ini")); }

    void putSettings(const QByteArray &bytes) const
    {
        QFile out(settingsPath());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }

    QByteArray settingsBytes() const
    {
        QFile in(settingsPath());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArrayLiteral("<missing>");
    }

    // An empty file; returns its path.
    static QString touch(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        return path;
    }

    // A stand-in emulator beside the program, so that the load opens no dialog.
    QString emulatorBesideProgram(const char *name = "kgen.exe") const
    {
        return touch(programDir.filePath(QString::fromLatin1(name)));
    }

    // Shows the main window and lets its activation sequence run to its end.
    // The sequence takes this test program's folder as the program folder; the
    // fixture's folder is put back afterwards.
    void showActivated()
    {
        const QString besideTests = QCoreApplication::applicationDirPath() + QStringLiteral("/romdeck.ini");
        ASSERT_FALSE(QFileInfo::exists(besideTests)) << "would steer the activation: " << besideTests.toStdString();
        ModalAnswerer answerer; // the locations dialog, when no emulator lies beside this program
        form->show();
        ASSERT_TRUE(WaitUntil([this] { return form->windowTitle() != QStringLiteral("Romdeck"); }));
        ProgramFolder = programDir.path();
    }

    // The six windows, the main window first.
    QList<QWidget *> programWindows() const
    {
        const SecondaryWindows &secondary = windows->secondary;
        return {form, secondary.about, secondary.locations, secondary.romInfo, secondary.pickPix, secondary.listRoms};
    }

    // A list entry as the scan adds it.
    void addEntry(const QString &text, const QString &path) const { addEntry(text, QFile::encodeName(path)); }
    void addEntry(const QString &text, const QByteArray &path) const
    {
        romobj object;
        object.putrominfo(rom_info{path, QByteArray()});
        form->lstdir->addItem(text, object);
    }

    QTemporaryDir programDir;
    QTemporaryDir workDir;
    QString workFolder;
    std::unique_ptr<ProgramWindows> windows;
    TForm1 *form = nullptr;
    TForm3 *locations = nullptr;
    OptionsPanel *panel = nullptr;

private:
    QString savedCurrent_;
};
