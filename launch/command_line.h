#pragma once
#include "settings/option_set.h"

#include <QString>

// The emulator's command line for one ROM: the KGen form when options.usekgen
// is 0, the Genecyst form for any other value. The locations and the extra text
// go in as typed; the ROM path goes in as it is unless it holds a blank, a tab
// or a double quote, in which case it is quoted so that the emulator still
// receives it as one argument.
QString BuildCommandLine(const OptionSet &options, const QString &romPath, const QString &kgenLocation,
                         const QString &genecystLocation);
