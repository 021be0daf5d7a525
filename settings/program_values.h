#pragma once
#include "settings/option_set.h"

#include <QString>

// Values the whole program shares, as the windows read and write them.
extern QString ProgramFolder; // folder of the program file, where a portable copy keeps romdeck.ini
extern QString RomFolder;     // the five locations, kept in step with the locations dialog
extern QString CdRomFolder;
extern QString PixFolder;
extern QString KGenLocation;
extern QString GenecystLocation;
extern OptionSet DefaultOptions; // the Default option set
extern QString InfoFileName;     // the path the ROM info dialog shows
