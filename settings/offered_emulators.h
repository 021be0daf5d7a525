#pragma once
#include <QString>

#include <string>

// The emulator locations a first start offers, so that OK in the locations
// dialog is all a new user needs: the adapter of each emulator that is
// installed, BlastEm's for KGen and Mednafen's for Genecyst, and the one
// there is for both when only one is. Empty where none is installed.
struct OfferedEmulators
{
    QString kgen;
    QString genecyst;
};

// Adapters are looked for in adapterFolder, their emulators in searchPath
// (see EmulatorSearchPath); an adapter that is missing offers nothing.
OfferedEmulators OfferedEmulatorAdapters(const QString &adapterFolder, const std::string &searchPath);
