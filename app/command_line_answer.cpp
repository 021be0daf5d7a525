#include "app/command_line_answer.h"

#include "settings/build_facts.h"

#include <string_view>

std::optional<std::string> CommandLineAnswer(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--version")
            return std::string("romdeck " ROMDECK_VERSION "\n");
        if (argument == "--help")
            return std::string("Usage: romdeck [--help | --version]\n"
                               "\n"
                               "Romdeck lists the Genesis ROM images in your folders under the game titles\n"
                               "read from their headers, shows each game's preview picture, and starts the\n"
                               "KGen or Genecyst emulator on the game you choose.\n"
                               "\n"
                               "  --help     show this help and exit\n"
                               "  --version  show the version and exit\n"
                               "\n"
                               "Settings live in romdeck.ini beside the program when that file is there, or\n"
                               "when the program's folder can be written and is no install (a portable copy);\n"
                               "an installed program keeps them in $XDG_CONFIG_HOME/romdeck/romdeck.ini\n"
                               "(~/.config/romdeck/).\n");
    }
    return std::nullopt;
}
