#pragma once
#include <QString>

// The folder of the running executable (links resolved), without a final "/"
// unless it is the root. Needs the application object to exist.
QString ProgramFolderPath();
