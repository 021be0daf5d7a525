#pragma once
#include <string>

// Where an installed emulator is looked for: the folders of PATH, as a shell
// looks for a program, or, without PATH, those Debian gives a user, which
// hold its games folder. Folders are separated by ':'.
std::string EmulatorSearchPath();

// The path of the first regular file named `name` that may be run, in the
// absolute folders of searchPath in their order; empty when there is none.
std::string FindEmulator(const std::string &name, const std::string &searchPath);
