#include "platform/adapters/argument_mapping.h"

#include <algorithm>

namespace {

using Words = std::vector<std::string>;

// Reads the words from `at` on; each switch is optional and taken only in its
// place after the ones before it.
class WordReader
{
public:
    WordReader(const Words &words, std::size_t at) : words_(words), at_(at) {}

    // The word after `word`, when it is one of `values`, as its index.
    std::optional<std::size_t> takeValue(const std::string &word, const Words &values)
    {
        if (at_ + 1 >= words_.size() || words_[at_] != word)
            return std::nullopt;
        const auto found = std::find(values.begin(), values.end(), words_[at_ + 1]);
        if (found == values.end())
            return std::nullopt;
        at_ += 2;
        return static_cast<std::size_t>(found - values.begin());
    }

    std::optional<std::size_t> takeOneOf(const Words &values)
    {
        if (at_ >= words_.size())
            return std::nullopt;
        const auto found = std::find(values.begin(), values.end(), words_[at_]);
        if (found == values.end())
            return std::nullopt;
        ++at_;
        return static_cast<std::size_t>(found - values.begin());
    }

    // "-f" and a number.
    bool takeFrameRate()
    {
        if (at_ >= words_.size())
            return false;
        const std::string &word = words_[at_];
        if (word.size() < 3 || word.compare(0, 2, "-f") != 0 ||
            !std::all_of(word.begin() + 2, word.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        ++at_;
        return true;
    }

    Words rest() const { return Words(words_.begin() + static_cast<std::ptrdiff_t>(at_), words_.end()); }

private:
    const Words &words_;
    std::size_t at_;
};

// Japan, Americas and Europe, in the order of Region after Auto.
Region RegionAt(std::optional<std::size_t> index)
{
    return index ? static_cast<Region>(*index + 1) : Region::Auto;
}

// A ROM path that starts with '-' would be read as a switch.
std::string RomArgument(const std::string &rom)
{
    return rom.starts_with('-') ? "./" + rom : rom;
}

EmulatorCommand WithExtraAndRom(EmulatorCommand command, const LaunchRequest &request)
{
    command.arguments.insert(command.arguments.end(), request.extra.begin(), request.extra.end());
    command.arguments.push_back(RomArgument(request.rom));
    return command;
}

} // namespace

std::optional<LaunchRequest> ReadLaunchRequest(const std::vector<std::string> &arguments)
{
    const bool genecystForm = !arguments.empty() && arguments[0] == "-run";
    const std::size_t romAt = genecystForm ? 1 : 0;
    if (romAt >= arguments.size())
        return std::nullopt;
    LaunchRequest request;
    request.rom = arguments[romAt];
    WordReader reader(arguments, romAt + 1);
    if (genecystForm) {
        request.soundOff = reader.takeOneOf({"-nosound"}).has_value();
        request.region = RegionAt(reader.takeValue("-version", {"Japan", "USA", "Europe"}));
    } else {
        reader.takeFrameRate();
        request.soundOff = reader.takeOneOf({"-S"}).has_value();
        request.region = RegionAt(reader.takeOneOf({"-J", "-U", "-E"}));
    }
    request.extra = reader.rest();
    return request;
}

EmulatorCommand BlastEmCommand(const LaunchRequest &request)
{
    EmulatorCommand command;
    if (request.region != Region::Auto)
        command.arguments = {"-r", std::string(1, "JUE"[static_cast<int>(request.region) - 1])};
    if (request.soundOff)
        command.environment.emplace_back("SDL_AUDIODRIVER", "dummy");
    return WithExtraAndRom(command, request);
}

EmulatorCommand MednafenCommand(const LaunchRequest &request)
{
    // The ROM lists hold Genesis cartridges only; forcing the module spares
    // mednafen guessing the system of a .bin.
    EmulatorCommand command{{"-force_module", "md"}, {}};
    if (request.region != Region::Auto) {
        const char *regions[] = {"domestic_ntsc", "overseas_ntsc", "overseas_pal"};
        command.arguments.insert(command.arguments.end(),
                                 {"-md.region", regions[static_cast<int>(request.region) - 1]});
    }
    if (request.soundOff)
        command.arguments.insert(command.arguments.end(), {"-sound", "0"});
    return WithExtraAndRom(command, request);
}
