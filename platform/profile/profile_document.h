#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileEdits;

// A profile file's text with its sections indexed, so that a read or a write
// looks at one section instead of splitting the whole text again. Reads and
// writes follow the rules of profile_file.h exactly.
class ProfileDocument
{
public:
    explicit ProfileDocument(std::string text);
    // The text that `edits` give, indexed without looking again at the
    // sections that they left as they were.
    explicit ProfileDocument(const ProfileEdits &edits);
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
        std::string_view name;
    };
    // The first section of a name. `indexed` looks it up in an index of all
    // names, built at the first such call, which pays off over many lookups;
    // otherwise, and until then, the sections are scanned.
    std::optional<size_t> sectionIndex(std::string_view trimmedName, bool indexed) const;
    std::string_view sectionText(size_t index) const;
    // Adds the sections whose headers lie in the text's lines [from, to).
    void scanHeaders(size_t from, size_t to);

    std::string text_;
    std::vector<Section> sections_; // in file order; the nameless one first
    // The first section of each name by the hash of its name, open
    // addressing: a section's number, or 0 for an empty slot.
    mutable std::once_flag indexOnce_;
    mutable std::atomic<bool> indexBuilt_ = false;
    mutable std::vector<size_t> index_;
};

// Writes applied one after the other to a document, leaving it untouched: the
// result is the text that SetProfileValue would give applied in the same order
// to the whole text, built by copying the sections that no write touched.
class ProfileEdits
{
public:
    explicit ProfileEdits(const ProfileDocument &base) : base_(&base) {}

    void set(std::string_view section, std::string_view key, std::string_view value);
    // Lines are only ever added or replaced, so text that a write made read
    // differently (see set) never comes back to the base text.
    bool changed() const { return reparsed_ || !edited_.empty(); }
    std::string text() const;

private:
    friend class ProfileDocument;

    size_t sectionCount() const { return base_->sections_.size() + added_.size(); }
    std::optional<size_t> sectionIndex(std::string_view trimmedName);
    std::string_view sectionText(size_t index) const;
    void reparse();

    const ProfileDocument *base_;
    std::unique_ptr<const ProfileDocument> reparsed_;   // the base once a write opened a section
    std::vector<std::string> added_;                    // sections added at the end, in order
    std::map<size_t, std::string> edited_;              // section index -> its new text
    std::vector<std::pair<std::string, size_t>> found_; // sections already looked up
};
