#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A profile file's text with its sections indexed, so that a read or a write
// looks at one section instead of splitting the whole text again. Reads and
// writes follow the rules of profile_file.h exactly.
class ProfileDocument
{
public:
    explicit ProfileDocument(std::string text);
    ProfileDocument(const ProfileDocument &) = delete;
    ProfileDocument &operator=(const ProfileDocument &) = delete;

    const std::string &text() const { return text_; }

    // As FindProfileValue on the whole text.
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

private:
    friend class ProfileEdits;

    // The bytes [begin, end) of one section: its header line (the nameless
    // section before the first header has none) and the lines up to the next.
    struct Section
    {
        size_t begin;
        size_t end;
    };
    struct NameHash
    {
        size_t operator()(std::string_view name) const;
    };
    struct NameEqual
    {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::optional<size_t> sectionIndex(std::string_view trimmedName) const;
    std::string_view sectionText(size_t index) const;

    std::string text_;
    std::vector<Section> sections_; // in file order; the nameless one first
    std::unordered_map<std::string_view, size_t, NameHash, NameEqual> firstOfName_;
};

// Writes applied one after the other to a document, leaving it untouched: the
// result is the text that SetProfileValue would give applied in the same order
// to the whole text, built by copying the sections that no write touched.
class ProfileEdits
{
public:
    explicit ProfileEdits(const ProfileDocument &base) : base_(base) {}

    void set(std::string_view section, std::string_view key, std::string_view value);
    bool changed() const { return !edited_.empty(); }
    std::string text() const;

private:
    size_t sectionCount() const { return base_.sections_.size() + added_.size(); }
    std::optional<size_t> sectionIndex(std::string_view trimmedName) const;
    std::string_view sectionText(size_t index) const;

    const ProfileDocument &base_;
    std::vector<std::string> added_;       // names of the sections added at the end, in order
    std::map<size_t, std::string> edited_; // section index -> its new text
};
