#pragma once
#include "platform/adapters/argument_mapping.h"
#include "platform/adapters/emulator_adapters.h"

#include <string>

// The whole of an adapter: reads Romdeck's command line from argv, puts it in
// the emulator's terms and replaces this process with the emulator, found in
// searchPath (see EmulatorSearchPath), so that Romdeck's launch goes on as if
// it had started the emulator itself. Returns only when it cannot: with a
// message on standard error and the status to exit with, 2 for a command line
// without a ROM, 127 when the emulator is not installed, 126 when it could not
// be started.
int RunAdapter(int argc, char **argv, const EmulatorAdapter &adapter,
               EmulatorCommand (*toEmulator)(const LaunchRequest &), const std::string &searchPath);
