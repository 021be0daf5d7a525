#pragma once
#include <optional>
#include <string>
#include <string_view>

// The text of a Windows profile ("ini") file, read and edited the way Windows
// does it, so that files move between the two systems unchanged. Bytes are
// bytes: nothing is converted.
//
// Reading:
// - lines end at CR, LF or CR LF; a UTF-8 byte-order mark before the first
//   line is skipped;
// - blanks (space, tab, vertical tab, form feed, and ^Z, the DOS end-of-file
//   mark) around section names, key names, "=" and values do not count;
// - a line starting with "[" that holds a "]" is a section header; the name
//   ends at the LAST "]" of the line, so "[Sonic [!].bin]" names
//   "Sonic [!].bin";
// - a line "name = value" holds a key; the first "=" separates them;
// - any other line that is not blank is a key without a value: it reads as
//   missing, but it is the key a read or write of that name finds;
// - names match ignoring ASCII letter case; only the first section of a name
//   counts, and in it only the first key of a name;
// - lines before the first header form the section with the empty name;
// - a value enclosed in one matching pair of double or single quotes is read
//   without them;
// - there are no comments: ";x=1" is the key ";x", "k=v ; x" reads "v ; x".

// The value of `key` in the first section named `section`, as read by the
// rules above; nothing when that section, or that key in it, is missing.
// The view points into `text`.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section, std::string_view key);

// `text` with `key` in the first section named `section` set to `value`, as
// Windows writes it: the value loses the blanks at its ends; a key that
// already holds that value leaves the text as it is; otherwise the key's line
// is rewritten in place as "key=value" with the key spelled as the file spells
// it, keeping its line end; a new key goes right after the last non-blank line
// of its section; a new section goes at the end of the text. Added lines end
// with CR LF; no blank lines are added; every other byte stays as it was.
// Names are used without their surrounding blanks; the caller keeps line
// breaks out of all three.
std::string SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

// The pieces of the rules above that an index of the sections, and the
// writers that quote what a read would change, need.
// The blanks that do not count around names and values; `s` without them at its ends.
bool IsProfileBlank(char c);
std::string_view TrimProfileBlanks(std::string_view s);
// `value` without one matching pair of enclosing double or single quotes.
std::string_view WithoutProfileQuotes(std::string_view value);
// Where the first line starts: after a UTF-8 byte-order mark, if any.
size_t ProfileTextStart(std::string_view text);
// The section name a line (without its line end) opens, if it is a header.
std::optional<std::string_view> ProfileSectionName(std::string_view line);
// Names equal ignoring ASCII letter case; the hash agrees with it.
bool SameProfileName(std::string_view a, std::string_view b);
size_t ProfileNameHash(std::string_view name);
