#include "platform/adapters/emulator_search.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsRunnableFile(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string EmulatorSearchPath()
{
    const char *path = std::getenv("PATH");
    return path ? path : "/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games";
}

std::string FindEmulator(const std::string &name, const std::string &searchPath)
{
    std::string::size_type start = 0;
    while (start <= searchPath.size()) {
        std::string::size_type end = searchPath.find(':', start);
        if (end == std::string::npos)
            end = searchPath.size();
        // An empty or relative entry would name a place in the working
        // folder, which a launch makes the snapshot folder: a file there is
        // no installed emulator.
        const std::string candidate = searchPath.substr(start, end - start) + "/" + name;
        if (end > start && searchPath[start] == '/' && IsRunnableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}
