#pragma once
#include <QString>

// Where the program keeps its settings and finds its data. A portable copy
// keeps romdeck.ini beside itself, as the program always has: when the file
// lies there, or when the program's folder can be written and is not that of
// an install (no installed data folder beside it). An installed program keeps
// it in the user's configuration folder, $XDG_CONFIG_HOME/romdeck
// (~/.config/romdeck by default).

// The data folder of an install (share/romdeck of its prefix), found from the
// program's folder so that an installed tree may be moved as a whole.
QString InstalledDataFolder(const QString &programFolder);

// The settings file in use for the program in programFolder, decided afresh
// at each call from what lies on disk.
QString SettingsFilePath(const QString &programFolder);

// Creates the settings file's folder, private to the user, when it is
// missing; the first save into the configuration folder needs it. A folder
// that cannot be made is left for the write to report. The configuration
// folder is kept the user's alone (SecureOwnFolder): a write there raises
// RomdeckError "Unable to write to <file>: <why>" when it cannot be trusted.
// A portable copy's folder is the user's own choice and stays as it is.
void MakeSettingsFolder(const QString &file);
