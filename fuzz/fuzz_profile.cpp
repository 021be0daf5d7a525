// The settings file's text with any content, and any section, key and value.
// The input is the section, the key and the value on the first three lines,
// then the file's content.
// - Reading through the Windows call never overruns its buffer and ends its
//   answer with a NUL at the count it returns.
// - Setting a value that can be read back as written (names not empty, no
//   line break or NUL, no blanks at the ends, a key that starts no section and
//   holds no "=", a value not enclosed in quotes) reads back as written, and
//   setting it again changes nothing.
#include "fuzz/scratch_file.h"
#include "platform/profile/profile.h"
#include "platform/profile/profile_file.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool ReadsBackAsWritten(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
        (text.empty() || (!IsProfileBlank(text.front()) && !IsProfileBlank(text.back())));
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    std::string fields[3];
    for (std::string &field : fields) {
        const std::size_t end = input.find('\n');
        field = std::string(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    const std::string &section = fields[0], &key = fields[1], &value = fields[2];
    const std::string_view content = input;

    static const ScratchFile file("romdeck.ini");
    file.Write(reinterpret_cast<const std::uint8_t *>(content.data()), content.size());
    // Every buffer size from none to a little more than the value.
    const DWORD bufferSize = DWORD((section.size() * 7 + key.size()) % 70);
    std::vector<char> buffer(bufferSize + 1, '#');
    const DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), buffer.data(),
                                                  bufferSize, file.path().constData());
    if (buffer[bufferSize] != '#')
        abort();
    if (bufferSize > 0 && (copied >= bufferSize || buffer[copied] != '\0' || std::strlen(buffer.data()) != copied))
        abort();
    if (bufferSize == 0 && copied != 0)
        abort();

    const bool writable = !section.empty() && !key.empty() && ReadsBackAsWritten(section) && ReadsBackAsWritten(key) &&
        ReadsBackAsWritten(value) && key.front() != '[' && key.find('=') == std::string::npos && !IsQuoted(value);
    const std::string changed = SetProfileValue(content, section, key, value);
    if (writable) {
        const auto readBack = FindProfileValue(changed, section, key);
        if (!readBack || *readBack != value)
            abort();
        if (SetProfileValue(changed, section, key, value) != changed)
            abort();
    }
    return 0;
}
