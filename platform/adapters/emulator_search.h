#pragma once
#include <string>

// Where an installed emulator is looked for: the folders of PATH, then the
// folders Debian installs games into, which the PATH of root and of sudo
// leaves out. Folders are separated by ':'.
std::string EmulatorSearchPath();

// The path of the first regular file named `name` that may be run, in the
// folders of searchPath in their order; empty when there is none.
std::string FindEmulator(const std::string &name, const std::string &searchPath);
