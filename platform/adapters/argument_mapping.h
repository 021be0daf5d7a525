#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What Romdeck asks of an emulator, read back from the arguments of either
// command line it composes, and the same request put in the terms of BlastEm
// and of Mednafen. Arguments are the system's bytes, passed on untouched.

enum class Region { Auto, Japan, Americas, Europe };

struct LaunchRequest
{
    std::string rom;
    bool soundOff = false;
    Region region = Region::Auto;
    std::vector<std::string> extra; // the extra text, word by word
};

// The arguments after the program's name, in the KGen form
//   ROM [-fN] [-S] [-J|-U|-E] extra...
// or the Genecyst form
//   -run ROM [-nosound] [-version Japan|USA|Europe] extra...
// Switches count only in the order Romdeck writes them; from the first word
// that is none of them on, the words are extra text. The frame rate switch is
// read and dropped: neither emulator can hold one rate. None without a ROM.
std::optional<LaunchRequest> ReadLaunchRequest(const std::vector<std::string> &arguments);

// An emulator's arguments, after its program name, and the variables to set
// in the environment it inherits.
struct EmulatorCommand
{
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string, std::string>> environment;
};

// blastem [-r J|U|E] extra... ROM; sound off through SDL's dummy audio driver,
// as BlastEm has no switch for it.
EmulatorCommand BlastEmCommand(const LaunchRequest &request);

// mednafen -force_module md [-md.region ...] [-sound 0] extra... ROM
EmulatorCommand MednafenCommand(const LaunchRequest &request);
