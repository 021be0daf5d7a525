#pragma once
#include "launch/option_set.h"

#include <QByteArray>
#include <QString>

// Values the whole program shares, as the windows read and write them.
extern QString ProgramFolder;     // folder of the program file, where romdeck.ini lives
extern QString RomFolder;         // the five locations, kept in step with the locations dialog
extern QString CdRomFolder;
extern QString PixFolder;
extern QString KGenLocation;
extern QString GenecystLocation;
extern QByteArray HeaderName;     // the title last read from a ROM header
extern OptionSet DefaultOptions;  // the Default option set
