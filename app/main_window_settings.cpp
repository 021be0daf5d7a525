#include "app/main_window.h"

#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "dialogs/locations_dialog.h"
#include "platform/message_box.h"
#include "platform/start_folder.h"
#include "settings/program_values.h"
#include "settings/settings_layout.h"
#include "settings/settings_location.h"
#include "widgets/path_edit.h"

QString TForm1::SettingsFile() const
{
    return SettingsFilePath(ProgramFolder);
}

void TForm1::LoadSettings()
{
    const QString file = SettingsFile();
    // The start folder's own bytes: a folder whose name is no valid text still lists.
    const GeneralSettings general = ReadGeneralSettings(file, ProgramFolder, StartFolder());
    TForm3 &locations = *windows_.locations;

    locations.romloc->setText(general.roms);
    RomFolder = general.roms;
    locations.cdromloc->setText(general.cdrom);
    CdRomFolder = general.cdrom;
    locations.pixloc->setText(general.pix);
    PixFolder = general.pix;
    locations.kgenloc->setText(general.kgenloc);
    locations.geneloc->setText(general.geneloc);
    const bool noEmulator = general.kgenloc.isEmpty() && general.geneloc.isEmpty();

    if (general.optshowing)
        butoptionsClick();
    else
        butpixClick();

    DefaultOptions = ReadDefaultOptionSet(file);

    if (noEmulator)
        butsetupClick();
}

void TForm1::SaveSettings()
{
    const TForm3 &locations = *windows_.locations;
    std::optional<RomOptionSet> rom;
    if (!panopt->isDefaultDown() && lstdir->itemIndex() >= 0)
        rom = RomOptionSet{SelectedSection(), panopt->values()};
    const bool romStored =
        WriteSettings(SettingsFile(),
                      GeneralSettings{locations.romloc->text(), locations.cdromloc->text(), locations.pixloc->text(),
                                      locations.kgenloc->text(), locations.geneloc->text(), panopt->isVisibleTo(this)},
                      DefaultOptions, rom);
    // Told, not raised: the rest of the save went through, and the launch or
    // close that saved goes on.
    if (!romStored)
        ShowMessage(MessageType::Warning,
                    QStringLiteral("The options of \"%1\" cannot be stored: its file name holds a line break.")
                        .arg(rom->section));
}

void TForm1::LoadRomOptions(const QString &section)
{
    const std::optional<OptionSet> own = ReadRomOptionSet(SettingsFile(), section);
    // The mode button goes down before any control changes, so that a ROM's
    // own values never leak into the Default set through the change handlers.
    if (!own) {
        panopt->putDefaultDown();
        panopt->setValues(DefaultOptions);
    } else {
        panopt->putCurrentDown();
        panopt->setValues(*own);
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
