#include "app/main_window.h"

#include "app/program_values.h"
#include "app/rom_list_box.h"
#include "dialogs/locations_dialog.h"
#include "launch/options_panel.h"
#include "settings/profile_values.h"
#include "widgets/path_edit.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kDefault = QStringLiteral("Default");

// A stored emulator that no longer exists falls back to a copy beside the program.
QString RepairedEmulator(const QString &stored, const QString &besideProgram)
{
    if (QFileInfo(stored).isFile())
        return stored;
    const QString copy = ProgramFolder + QLatin1Char('/') + besideProgram;
    return QFileInfo(copy).isFile() ? copy : QString();
}

bool IsFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

OptionSet ReadOptionSet(const QString &file, const QString &section, int usekgen)
{
    return OptionSet{usekgen, ReadProfileInteger(file, section, QStringLiteral("fskip"), 1),
                     ReadProfileInteger(file, section, QStringLiteral("country"), 0),
                     ReadProfileBool(file, section, QStringLiteral("dissound"), false),
                     ReadProfileText(file, section, QStringLiteral("extracmdline"), QString())};
}

void WriteOptionSet(const QString &file, const QString &section, const OptionSet &options)
{
    WriteProfileInteger(file, section, QStringLiteral("usekgen"), options.usekgen);
    WriteProfileInteger(file, section, QStringLiteral("fskip"), options.fskip);
    WriteProfileInteger(file, section, QStringLiteral("country"), options.country);
    WriteProfileBool(file, section, QStringLiteral("dissound"), options.dissound);
    WriteProfileText(file, section, QStringLiteral("extracmdline"), options.extracmdline);
}

} // namespace

QString TForm1::SettingsFile() const
{
    return ProgramFolder + (ProgramFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) +
           QStringLiteral("romdeck.ini");
}

void TForm1::LoadSettings()
{
    const QString file = SettingsFile();
    TForm3 &locations = *windows_.locations;

    locations.romloc->setText(ReadProfileText(file, kGeneral, QStringLiteral("roms"), QString()));
    if (!IsFolder(locations.romloc->text()))
        locations.romloc->setText(QDir::currentPath());
    RomFolder = locations.romloc->text();

    locations.cdromloc->setText(ReadProfileText(file, kGeneral, QStringLiteral("cdrom"), QString()));
    CdRomFolder = locations.cdromloc->text();

    locations.pixloc->setText(ReadProfileText(file, kGeneral, QStringLiteral("pix"), QString()));
    if (!IsFolder(locations.pixloc->text()))
        locations.pixloc->setText(locations.romloc->text());
    PixFolder = locations.pixloc->text();

    locations.kgenloc->setText(ReadProfileText(file, kGeneral, QStringLiteral("kgenloc"), QString()));
    locations.kgenloc->setText(RepairedEmulator(locations.kgenloc->text(), QStringLiteral("kgen.exe")));
    locations.geneloc->setText(ReadProfileText(file, kGeneral, QStringLiteral("geneloc"), QString()));
    locations.geneloc->setText(RepairedEmulator(locations.geneloc->text(), QStringLiteral("genecyst.exe")));
    const bool noEmulator = locations.kgenloc->text().isEmpty() && locations.geneloc->text().isEmpty();

    if (ReadProfileBool(file, kGeneral, QStringLiteral("optshowing"), true))
        butoptionsClick();
    else
        butpixClick();

    DefaultOptions = ReadOptionSet(file, kDefault, ReadProfileInteger(file, kDefault, QStringLiteral("usekgen"), 0));

    if (noEmulator)
        butsetupClick();
}

void TForm1::SaveSettings()
{
    const QString file = SettingsFile();
    const TForm3 &locations = *windows_.locations;
    WriteProfileText(file, kGeneral, QStringLiteral("roms"), locations.romloc->text());
    WriteProfileText(file, kGeneral, QStringLiteral("pix"), locations.pixloc->text());
    WriteProfileText(file, kGeneral, QStringLiteral("kgenloc"), locations.kgenloc->text());
    WriteProfileText(file, kGeneral, QStringLiteral("geneloc"), locations.geneloc->text());
    WriteProfileText(file, kGeneral, QStringLiteral("cdrom"), locations.cdromloc->text());
    WriteProfileBool(file, kGeneral, QStringLiteral("optshowing"), panopt->isVisibleTo(this));
    WriteOptionSet(file, kDefault, DefaultOptions);
    if (!panopt->isDefaultDown() && lstdir->itemIndex() >= 0)
        WriteOptionSet(file, SelectedSection(), panopt->values());
}

void TForm1::LoadRomOptions(const QString &section)
{
    const QString file = SettingsFile();
    const int usekgen = ReadProfileInteger(file, section, QStringLiteral("usekgen"), -1);
    // The mode button goes down before any control changes, so that a ROM's
    // own values never leak into the Default set through the change handlers.
    if (usekgen == -1) {
        panopt->putDefaultDown();
        panopt->setValues(DefaultOptions);
    } else {
        panopt->putCurrentDown();
        panopt->setValues(ReadOptionSet(file, section, usekgen));
    }
}

void TForm1::butdefaultClick()
{
    panopt->setValues(DefaultOptions);
}

void TForm1::butcurrentClick()
{
    if (lstdir->itemIndex() < 0)
        return;
    LoadRomOptions(SelectedSection());
    panopt->putCurrentDown();
}
