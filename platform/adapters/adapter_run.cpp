#include "platform/adapters/adapter_run.h"

#include "platform/adapters/emulator_search.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

void PrintUsage(const char *adapter)
{
    std::fprintf(stderr,
                 "usage: %s ROM [-fN] [-S] [-J|-U|-E] [SWITCH...]\n"
                 "       %s -run ROM [-nosound] [-version Japan|USA|Europe] [SWITCH...]\n",
                 adapter, adapter);
}

} // namespace

int RunAdapter(int argc, char **argv, const EmulatorAdapter &adapter,
               EmulatorCommand (*toEmulator)(const LaunchRequest &), const std::string &searchPath)
{
    const std::optional<LaunchRequest> request = ReadLaunchRequest(std::vector<std::string>(argv + 1, argv + argc));
    if (!request) {
        PrintUsage(adapter.adapter);
        return 2;
    }
    const std::string emulator = FindEmulator(adapter.emulator, searchPath);
    if (emulator.empty()) {
        std::fprintf(stderr, "%s: %s is not installed (looked in %s); install it with: apt-get install %s\n",
                     adapter.adapter, adapter.emulator, searchPath.c_str(), adapter.emulator);
        return 127;
    }
    EmulatorCommand command = toEmulator(*request);
    for (const auto &[name, value] : command.environment)
        setenv(name.c_str(), value.c_str(), 1);
    std::vector<char *> emulatorArgv{const_cast<char *>(emulator.c_str())};
    for (std::string &argument : command.arguments)
        emulatorArgv.push_back(argument.data());
    emulatorArgv.push_back(nullptr);
    execv(emulator.c_str(), emulatorArgv.data());
    std::fprintf(stderr, "%s: cannot start %s: %s\n", adapter.adapter, emulator.c_str(), std::strerror(errno));
    return 126;
}
