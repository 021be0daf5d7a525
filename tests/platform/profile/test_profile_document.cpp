#include "platform/profile/profile_document.h"
#include "platform/profile/profile_file.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// Texts built from the pieces that steer the rules: headers of one name in
// several spellings, keys with and without "=", quotes, blanks, every line end
// and a byte-order mark.
std::string RandomProfileText(std::mt19937 &random)
{
    static const char *const pieces[] = {"[A]",    "[a]",  " [ B ] ", "[Sonic [!].bin]",
                                         "[",      "]",    "[]",      "k=1",
                                         "K = 2 ", "k",    "j=\"q\"", "=v",
                                         " ",      "\t",   "\r\n",    "\n",
                                         "\r",     "\r\n", "\n",      "\xEF\xBB\xBF",
                                         "x"};
    std::string text;
    const int count = int(random() % 24);
    for (int i = 0; i < count; ++i)
        text += pieces[random() % std::size(pieces)];
    return text;
}

TEST(ProfileDocument, ReadsAndWritesAsTheRulesDoOnTheWholeText)
{
    // Some keys and values make a line that reads as a header, such as "[k]=1".
    static const char *const sections[] = {"",    " ",   "A", "a", "B", "b ", "Sonic [!].bin", "sONIC [!].BIN",
                                           "new", "NEW", "[", "k", "x="};
    static const char *const keys[] = {"k", "K", "j", "", "n", "[k]", "[x"};
    static const char *const values[] = {"1", " 2 ", "\"q\"", "", "x y", "]"};
    std::mt19937 random(11);
    const auto writeSome = [&random](ProfileEdits &edits, std::string &whole) {
        const int writes = 1 + int(random() % 6);
        for (int i = 0; i < writes; ++i) {
            const char *section = sections[random() % std::size(sections)];
            const char *key = keys[random() % std::size(keys)];
            const char *value = values[random() % std::size(values)];
            edits.set(section, key, value);
            whole = SetProfileValue(whole, section, key, value);
        }
    };
    const auto expectReadsOf = [](const ProfileDocument &document, const std::string &whole) {
        for (const char *section : sections)
            for (const char *key : keys)
                ASSERT_EQ(document.find(section, key), FindProfileValue(whole, section, key)) << section << "/" << key;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = RandomProfileText(random);
        SCOPED_TRACE(testing::PrintToString(text));
        const ProfileDocument document(text);
        expectReadsOf(document, text);

        ProfileEdits edits(document);
        std::string whole = text;
        writeSome(edits, whole);
        ASSERT_EQ(edits.text(), whole);
        ASSERT_EQ(edits.changed(), whole != text);

        // The document of what was written reads and takes writes as a fresh one.
        const ProfileDocument written(edits);
        ASSERT_EQ(written.text(), whole);
        expectReadsOf(written, whole);
        ProfileEdits more(written);
        writeSome(more, whole);
        ASSERT_EQ(more.text(), whole);
    }
}

} // namespace
