#include "platform/profile/profile_document.h"

#include "platform/profile/profile_file.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Whether a line of a section's text opens a section: one after its header
// line, or any line of the nameless section.
bool OpensAnotherSection(std::string_view text, bool named)
{
    size_t pos = named ? text.find_first_of("\r\n") : ProfileTextStart(text);
    while (pos < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        if (ProfileSectionName(text.substr(pos, end - pos)))
            return true;
        pos = end + 1;
    }
    return false;
}

} // namespace

ProfileDocument::ProfileDocument(std::string text) : text_(std::move(text))
{
    // Settings files run at about a hundred bytes per section.
    sections_.reserve(text_.size() / 96 + 1);
    sections_.push_back(Section{0, text_.size(), {}});
    scanHeaders(0, text_.size());
}

ProfileDocument::ProfileDocument(const ProfileEdits &edits) : text_(edits.text())
{
    const ProfileDocument &base = *edits.base_;
    sections_.reserve(base.sections_.size() + edits.added_.size());
    sections_.push_back(Section{0, text_.size(), {}});
    size_t pos = 0;
    for (size_t i = 0; i < edits.sectionCount(); ++i) {
        const size_t size = edits.sectionText(i).size();
        if (i == 0 || edits.edited_.contains(i)) {
            // An edit may even have written a line that reads as a header.
            scanHeaders(pos, pos + size);
        } else {
            const Section &old = base.sections_[i];
            const size_t nameOffset = size_t(old.name.data() - base.text_.data()) - old.begin;
            sections_.back().end = pos;
            sections_.push_back(
                Section{pos, text_.size(), std::string_view(text_).substr(pos + nameOffset, old.name.size())});
        }
        pos += size;
    }
}

void ProfileDocument::scanHeaders(size_t from, size_t to)
{
    // Only the header lines matter here, and a header starts with "[" after
    // blanks at most: jump from "[" to "[" instead of visiting every line.
    const std::string_view all(text_);
    const size_t start = from == 0 ? ProfileTextStart(all) : from;
    size_t pos = start;
    while (pos < to) {
        const void *found = std::memchr(all.data() + pos, '[', to - pos);
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
        while (lineEnd < to && !IsLineBreak(all[lineEnd]))
            ++lineEnd;
        if (const std::optional<std::string_view> name =
                ProfileSectionName(all.substr(lineStart, lineEnd - lineStart))) {
            sections_.back().end = lineStart;
            sections_.push_back(Section{lineStart, all.size(), *name});
        }
        pos = lineEnd;
    }
}

std::optional<size_t> ProfileDocument::sectionIndex(std::string_view trimmedName, bool indexed) const
{
    // The nameless section is never one of a header, not even of "[]".
    if (trimmedName.empty())
        return 0;
    const auto named = [&](size_t section) {
        return sections_[section].name.size() == trimmedName.size() &&
            SameProfileName(sections_[section].name, trimmedName);
    };
    if (indexed) {
        std::call_once(indexOnce_, [this] {
            size_t slots = 16;
            while (slots < 2 * sections_.size())
                slots *= 2;
            index_.assign(slots, 0);
            for (size_t i = 1; i < sections_.size(); ++i) {
                const std::string_view name = sections_[i].name;
                if (name.empty())
                    continue;
                size_t slot = ProfileNameHash(name) & (slots - 1);
                while (index_[slot] != 0 && !SameProfileName(sections_[index_[slot]].name, name))
                    slot = (slot + 1) & (slots - 1);
                // The first section of a name is the one that counts.
                if (index_[slot] == 0)
                    index_[slot] = i;
            }
            indexBuilt_ = true;
        });
    }
    if (indexBuilt_) {
        const size_t mask = index_.size() - 1;
        for (size_t slot = ProfileNameHash(trimmedName) & mask; index_[slot] != 0; slot = (slot + 1) & mask)
            if (named(index_[slot]))
                return index_[slot];
        return std::nullopt;
    }
    for (size_t i = 1; i < sections_.size(); ++i)
        if (named(i))
            return i;
    return std::nullopt;
}

std::string_view ProfileDocument::sectionText(size_t index) const
{
    const Section &section = sections_[index];
    return std::string_view(text_).substr(section.begin, section.end - section.begin);
}

std::optional<std::string_view> ProfileDocument::find(std::string_view section, std::string_view key) const
{
    const std::string_view name = TrimProfileBlanks(section);
    const std::optional<size_t> index = sectionIndex(name, true);
    if (!index)
        return std::nullopt;
    return FindProfileValue(sectionText(*index), name, key);
}

std::optional<size_t> ProfileEdits::sectionIndex(std::string_view trimmedName)
{
    // A save names a few sections many times: each is looked for once.
    for (const auto &[name, index] : found_)
        if (SameProfileName(name, trimmedName))
            return index;
    std::optional<size_t> index = base_->sectionIndex(trimmedName, false);
    for (size_t i = 0; !index && i < added_.size(); ++i)
        if (SameProfileName(added_[i], trimmedName))
            index = base_->sections_.size() + i;
    if (index)
        found_.emplace_back(trimmedName, *index);
    return index;
}

std::string_view ProfileEdits::sectionText(size_t index) const
{
    const auto edited = edited_.find(index);
    return edited != edited_.end() ? std::string_view(edited->second) : base_->sectionText(index);
}

void ProfileEdits::set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string_view name = TrimProfileBlanks(section);
    size_t written = 0;
    if (const std::optional<size_t> index = sectionIndex(name)) {
        // Each section's text starts with its own header, so the rules applied
        // to it alone give what they give applied to the whole text.
        const std::string_view current = sectionText(*index);
        std::string updated = SetProfileValue(current, name, key, value);
        if (*index < base_->sections_.size() && updated == base_->sectionText(*index)) {
            edited_.erase(*index); // back as it was
            return;
        }
        if (updated == current)
            return;
        edited_[*index] = std::move(updated);
        written = *index;
    } else {
        // A new section goes at the end, after a line end that the last line
        // receives when it has none.
        const size_t last = sectionCount() - 1;
        const std::string_view lastText = sectionText(last);
        if (lastText.size() > ProfileTextStart(lastText) && !IsLineBreak(lastText.back()))
            edited_[last] = std::string(lastText) + "\r\n";
        added_.emplace_back(name);
        written = sectionCount() - 1;
        edited_[written] = SetProfileValue({}, name, key, value);
    }
    // A key line such as "[x]=1" reads as a header: its section now ends there.
    if (OpensAnotherSection(sectionText(written), written != 0))
        reparse();
}

void ProfileEdits::reparse()
{
    auto next = std::make_unique<const ProfileDocument>(text());
    reparsed_ = std::move(next);
    base_ = reparsed_.get();
    added_.clear();
    edited_.clear();
    found_.clear();
}

std::string ProfileEdits::text() const
{
    std::string out;
    out.reserve(base_->text_.size() + 256);
    size_t copied = 0; // the base text up to here is in `out`, or replaced
    for (const auto &[index, text] : edited_) {
        if (index < base_->sections_.size()) {
            const ProfileDocument::Section &section = base_->sections_[index];
            out.append(base_->text_, copied, section.begin - copied);
            copied = section.end;
        } else if (copied < base_->text_.size()) {
            out.append(base_->text_, copied);
            copied = base_->text_.size();
        }
        out += text;
    }
    out.append(base_->text_, std::min(copied, base_->text_.size()));
    return out;
}
