#include "platform/profile_document.h"

#include "platform/profile_file.h"

#include <cstring>

namespace {

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

size_t ProfileDocument::NameHash::operator()(std::string_view name) const
{
    return ProfileNameHash(name);
}

bool ProfileDocument::NameEqual::operator()(std::string_view a, std::string_view b) const
{
    return SameProfileName(a, b);
}

ProfileDocument::ProfileDocument(std::string text) : text_(std::move(text))
{
    // Only the header lines matter here, and a header starts with "[" after
    // blanks at most: jump from "[" to "[" instead of visiting every line.
    const std::string_view all(text_);
    const size_t start = ProfileTextStart(all);
    sections_.push_back(Section{0, all.size()});
    size_t pos = start;
    while (pos < all.size()) {
        const void *found = std::memchr(all.data() + pos, '[', all.size() - pos);
        if (!found)
            break;
        const size_t bracket = size_t(static_cast<const char *>(found) - all.data());
        size_t lineStart = bracket;
        while (lineStart > start && IsProfileBlank(all[lineStart - 1]))
            --lineStart;
        if (lineStart != start && !IsLineBreak(all[lineStart - 1])) {
            pos = bracket + 1;
            continue;
        }
        size_t lineEnd = bracket;
        while (lineEnd < all.size() && !IsLineBreak(all[lineEnd]))
            ++lineEnd;
        if (const std::optional<std::string_view> name =
                ProfileSectionName(all.substr(lineStart, lineEnd - lineStart))) {
            sections_.back().end = lineStart;
            sections_.push_back(Section{lineStart, all.size()});
            // The first section of a name is the one that counts.
            if (!name->empty())
                firstOfName_.emplace(*name, sections_.size() - 1);
        }
        pos = lineEnd;
    }
}

std::optional<size_t> ProfileDocument::sectionIndex(std::string_view trimmedName) const
{
    if (trimmedName.empty())
        return 0;
    const auto found = firstOfName_.find(trimmedName);
    if (found == firstOfName_.end())
        return std::nullopt;
    return found->second;
}

std::string_view ProfileDocument::sectionText(size_t index) const
{
    const Section &section = sections_[index];
    return std::string_view(text_).substr(section.begin, section.end - section.begin);
}

std::optional<std::string_view> ProfileDocument::find(std::string_view section, std::string_view key) const
{
    const std::string_view name = TrimProfileBlanks(section);
    const std::optional<size_t> index = sectionIndex(name);
    if (!index)
        return std::nullopt;
    return FindProfileValue(sectionText(*index), name, key);
}

std::optional<size_t> ProfileEdits::sectionIndex(std::string_view trimmedName) const
{
    if (const std::optional<size_t> index = base_.sectionIndex(trimmedName))
        return index;
    for (size_t i = 0; i < added_.size(); ++i)
        if (SameProfileName(added_[i], trimmedName))
            return base_.sections_.size() + i;
    return std::nullopt;
}

std::string_view ProfileEdits::sectionText(size_t index) const
{
    const auto edited = edited_.find(index);
    return edited != edited_.end() ? std::string_view(edited->second) : base_.sectionText(index);
}

void ProfileEdits::set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string_view name = TrimProfileBlanks(section);
    if (const std::optional<size_t> index = sectionIndex(name)) {
        // Each section's text starts with its own header, so the rules applied
        // to it alone give what they give applied to the whole text.
        const std::string_view current = sectionText(*index);
        std::string updated = SetProfileValue(current, name, key, value);
        if (*index < base_.sections_.size() && updated == base_.sectionText(*index))
            edited_.erase(*index); // back as it was
        else if (updated != current)
            edited_[*index] = std::move(updated);
        return;
    }
    // A new section goes at the end, after a line end that the last line
    // receives when it has none.
    const size_t last = sectionCount() - 1;
    const std::string_view lastText = sectionText(last);
    if (lastText.size() > ProfileTextStart(lastText) && !IsLineBreak(lastText.back()))
        edited_[last] = std::string(lastText) + "\r\n";
    added_.emplace_back(name);
    edited_[sectionCount() - 1] = SetProfileValue({}, name, key, value);
}

std::string ProfileEdits::text() const
{
    std::string out;
    out.reserve(base_.text_.size() + 256);
    size_t copied = 0; // the base text up to here is in `out`, or replaced
    for (const auto &[index, text] : edited_) {
        if (index < base_.sections_.size()) {
            const ProfileDocument::Section &section = base_.sections_[index];
            out.append(base_.text_, copied, section.begin - copied);
            copied = section.end;
        } else if (copied < base_.text_.size()) {
            out.append(base_.text_, copied);
            copied = base_.text_.size();
        }
        out += text;
    }
    out.append(base_.text_, std::min(copied, base_.text_.size()));
    return out;
}
