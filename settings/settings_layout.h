#pragma once
#include "settings/option_set.h"

#include <QString>
#include <optional>

// The layout of romdeck.ini: [General] holds the five locations and which
// panel shows, [Default] the Default option set, and each ROM given options of
// its own has a section named after its file name. Every key name lives here.

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
// folder becomes startFolder, a snapshot folder that is not one becomes the
// ROM folder, and an emulator that no longer exists falls back to kgen.exe or
// genecyst.exe beside the program, else to nothing. Locations are text as
// FileNameText gives their bytes, which go back into the file unchanged.
GeneralSettings ReadGeneralSettings(const QString &file, const QString &programFolder, const QString &startFolder);

// The Default option set, with the defaults of a fresh file.
OptionSet ReadDefaultOptionSet(const QString &file);

// A ROM's own option set, or none when its section has no "usekgen" key.
std::optional<OptionSet> ReadRomOptionSet(const QString &file, const QString &section);

// A ROM's own option set with the section it is stored in.
struct RomOptionSet
{
    QString section;
    OptionSet options;
};

// Writes [General] (roms, pix, kgenloc, geneloc, cdrom, optshowing), [Default]
// and, when given, the ROM's section (usekgen, fskip, country, dissound,
// extracmdline), all in one replacement of the file, whose folder is created
// when missing. Raises RomdeckError, with the file left as it was, when the
// file cannot be written. A ROM whose file name holds a line break has a
// section name no file can hold: the rest is written without it, and the
// result is false.
bool WriteSettings(const QString &file, const GeneralSettings &general, const OptionSet &defaults,
                   const std::optional<RomOptionSet> &rom);
