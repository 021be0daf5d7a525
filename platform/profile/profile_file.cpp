#include "platform/profile/profile_file.h"

#include "platform/ascii_case.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

enum class LineKind { Blank, Section, Key };

// One line: its text is [begin, end), its line end [end, next).
struct Line
{
    size_t begin;
    size_t end;
    size_t next;
    LineKind kind;
    std::string_view name;  // section or key name
    std::string_view value; // key value, blanks removed, quotes kept
    bool hasValue;          // the key line holds "="
};

std::optional<std::string_view> SectionName(std::string_view trimmedLine)
{
    if (trimmedLine.empty() || trimmedLine.front() != '[')
        return std::nullopt;
    const size_t close = trimmedLine.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(trimmedLine.substr(1, close - 1));
}

void Classify(Line &line, std::string_view text)
{
    const std::string_view t = Trim(text.substr(line.begin, line.end - line.begin));
    if (t.empty()) {
        line.kind = LineKind::Blank;
        return;
    }
    if (const std::optional<std::string_view> section = SectionName(t)) {
        line.kind = LineKind::Section;
        line.name = *section;
        return;
    }
    line.kind = LineKind::Key;
    const size_t equals = t.find('=');
    line.hasValue = equals != std::string_view::npos;
    line.name = Trim(t.substr(0, equals));
    if (line.hasValue)
        line.value = Trim(t.substr(equals + 1));
}

size_t TextStart(std::string_view text)
{
    return text.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    size_t pos = TextStart(text);
    while (pos < text.size()) {
        size_t end = text.find_first_of(kLineEnd, pos);
        if (end == std::string_view::npos)
            end = text.size();
        size_t next = end;
        if (next < text.size())
            next += text.compare(next, 2, kLineEnd) == 0 ? 2 : 1;
        Line line{pos, end, next, LineKind::Blank, {}, {}, false};
        Classify(line, text);
        lines.push_back(line);
        pos = next;
    }
    return lines;
}

// Lines [first, end) of a section; `header` is its header line, or npos for
// the lines before the first header.
struct SectionLines
{
    size_t header;
    size_t first;
    size_t end;
};

size_t NextHeader(const std::vector<Line> &lines, size_t from)
{
    while (from < lines.size() && lines[from].kind != LineKind::Section)
        ++from;
    return from;
}

std::optional<SectionLines> FindSection(const std::vector<Line> &lines, std::string_view name)
{
    if (name.empty())
        return SectionLines{std::string_view::npos, 0, NextHeader(lines, 0)};
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == LineKind::Section && SameName(lines[i].name, name))
            return SectionLines{i, i + 1, NextHeader(lines, i + 1)};
    return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line> &lines, const SectionLines &section, std::string_view key)
{
    for (size_t i = section.first; i < section.end; ++i)
        if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key))
            return i;
    return std::nullopt;
}

std::string_view WithoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Where a line added after `line` starts: after its line end, which a last
// line without one first receives.
size_t InsertAfter(std::string &out, const Line &line)
{
    if (line.next == line.end) {
        out.insert(line.end, kLineEnd);
        return line.end + kLineEnd.size();
    }
    return line.next;
}

} // namespace

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section, std::string_view key)
{
    const std::vector<Line> lines = SplitLines(text);
    const std::optional<SectionLines> found = FindSection(lines, Trim(section));
    if (!found)
        return std::nullopt;
    const std::optional<size_t> keyLine = FindKey(lines, *found, Trim(key));
    if (!keyLine || !lines[*keyLine].hasValue)
        return std::nullopt;
    return WithoutQuotes(lines[*keyLine].value);
}

std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value)
{
    const std::string_view sectionName = Trim(section);
    const std::string_view newValue = Trim(value);
    const std::string keyLine = std::string(Trim(key)) + "=" + std::string(newValue);
    const std::vector<Line> lines = SplitLines(text);
    std::string out(text);

    const std::optional<SectionLines> found = FindSection(lines, sectionName);
    if (!found) {
        if (!lines.empty() && lines.back().next == lines.back().end)
            out += kLineEnd;
        out.append("[").append(sectionName).append("]\r\n").append(keyLine).append(kLineEnd);
        return out;
    }
    if (const std::optional<size_t> existing = FindKey(lines, *found, Trim(key))) {
        const Line &line = lines[*existing];
        if (line.hasValue && line.value == newValue)
            return out;
        out.replace(line.begin, line.end - line.begin, std::string(line.name) + "=" + std::string(newValue));
        return out;
    }
    // Trailing blank lines stay between the section and the next one.
    size_t anchor = found->header;
    for (size_t i = found->first; i < found->end; ++i)
        if (lines[i].kind != LineKind::Blank)
            anchor = i;
    const size_t at = anchor == std::string_view::npos ? TextStart(text) : InsertAfter(out, lines[anchor]);
    out.insert(at, keyLine + "\r\n");
    return out;
}

std::string_view WithoutProfileQuotes(std::string_view value)
{
    return WithoutQuotes(value);
}

bool IsProfileBlank(char c)
{
    return IsBlank(c);
}

std::string_view TrimProfileBlanks(std::string_view s)
{
    return Trim(s);
}

size_t ProfileTextStart(std::string_view text)
{
    return TextStart(text);
}

std::optional<std::string_view> ProfileSectionName(std::string_view line)
{
    return SectionName(Trim(line));
}

bool SameProfileName(std::string_view a, std::string_view b)
{
    return SameName(a, b);
}

size_t ProfileNameHash(std::string_view name)
{
    // Eight bytes at a time, each with its 0x20 bit set: that folds ASCII case
    // (and a few other pairs of bytes, which only costs a comparison).
    constexpr uint64_t kFold = 0x2020202020202020ull;
    uint64_t hash = name.size() * 0x9E3779B97F4A7C15ull;
    size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        uint64_t word;
        std::memcpy(&word, name.data() + at, 8);
        hash = (hash ^ (word | kFold)) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, name.data() + at, name.size() - at);
    hash = (hash ^ (tail | kFold)) * 0xC4CEB9FE1A85EC53ull;
    return size_t(hash ^ (hash >> 29));
}
