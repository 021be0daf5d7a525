#include "settings/program_values.h"

QString ProgramFolder;
QString RomFolder;
QString CdRomFolder;
QString PixFolder;
QString KGenLocation;
QString GenecystLocation;
OptionSet DefaultOptions;
QString InfoFileName;
