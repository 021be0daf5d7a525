#pragma once
#include "settings/option_set.h"

#include <QString>
#include <optional>

// The layout of romdeck.ini: [General] holds the five locations and which
// panel shows, [Default] the Default option set, and each ROM given options of
// its own has a section named after its file name. Every key name lives here.

// romdeck.ini in the program's folder.
QString SettingsFilePath(const QString &programFolder);

// The [General] section.
struct GeneralSettings
{
    QString roms;
    QString cdrom;
    QString pix;
    QString kgenloc;
    QString geneloc;
    bool optshowing = true;
};

// Reads [General] and repairs what no longer holds: a ROM folder that is not a
// folder becomes currentFolder, a snapshot folder that is not one becomes the
// ROM folder, and an emulator that no longer exists falls back to kgen.exe or
// genecyst.exe beside the program, else to nothing.
GeneralSettings ReadGeneralSettings(const QString &file, const QString &programFolder, const QString &currentFolder);

// Writes [General] in the order roms, pix, kgenloc, geneloc, cdrom, optshowing.
// Raises RomdeckError when the file cannot be written.
void WriteGeneralSettings(const QString &file, const GeneralSettings &settings);

// The Default option set, with the defaults of a fresh file.
OptionSet ReadDefaultOptionSet(const QString &file);
void WriteDefaultOptionSet(const QString &file, const OptionSet &options);

// A ROM's own option set, or none when its section has no "usekgen" key.
std::optional<OptionSet> ReadRomOptionSet(const QString &file, const QString &section);
void WriteRomOptionSet(const QString &file, const QString &section, const OptionSet &options);
