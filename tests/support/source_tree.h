#pragma once
// The program's own source files, read for checks of rules that hold across
// the whole tree. The tree is the one the tests were configured from
// (ROMDECK_SOURCE_DIR); nothing of the built program is needed.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace source_tree {

// One source file: its path from the tree's root ("widgets/background.cpp"),
// its text, and its code: the text with every comment and every string and
// character literal turned into blanks, line breaks kept, so that an offset
// into the code is one into the text and names in prose never count.
struct SourceFile
{
    std::string path;
    std::string text;
    std::string code;

    // The line (from 1) that holds the offset.
    int lineAt(std::size_t offset) const
    {
        return 1 + static_cast<int>(std::count(code.begin(), code.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    }
    // "path:line", for a failure message.
    std::string where(std::size_t offset) const { return path + ':' + std::to_string(lineAt(offset)); }
};

inline std::string CodeOf(const std::string &text)
{
    std::string code = text;
    const auto blank = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to && i < code.size(); ++i)
            if (code[i] != '\n')
                code[i] = ' ';
    };
    // A quote after a digit is no literal: it separates the digits of a number.
    const auto separatesDigits = [&](std::size_t quote) {
        return quote > 0 && std::isxdigit(static_cast<unsigned char>(text[quote - 1]));
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "//") == 0) {
            const std::size_t end = text.find('\n', i);
            blank(i, end == std::string::npos ? text.size() : end);
            i = end == std::string::npos ? text.size() : end;
        } else if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            const std::size_t past = end == std::string::npos ? text.size() : end + 2;
            blank(i, past);
            i = past;
        } else if (text[i] == 'R' && i + 1 < text.size() && text[i + 1] == '"' &&
                   (i == 0 || !(std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_'))) {
            // R"delimiter( ... )delimiter"
            const std::size_t open = text.find('(', i + 2);
            const std::string closing = ')' + text.substr(i + 2, open - (i + 2)) + '"';
            const std::size_t end = text.find(closing, open);
            const std::size_t past = end == std::string::npos ? text.size() : end + closing.size();
            blank(i + 1, past);
            i = past;
        } else if (text[i] == '"' || (text[i] == '\'' && !separatesDigits(i))) {
            const char quote = text[i];
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != quote && text[j] != '\n')
                j += text[j] == '\\' ? 2 : 1;
            // The quotes stay, so that an empty literal still reads as one.
            blank(i + 1, j);
            i = j + 1;
        } else {
            ++i;
        }
    }
    return code;
}

inline std::filesystem::path Root()
{
    return std::filesystem::path(ROMDECK_SOURCE_DIR);
}

// Every .h and .cpp file of the program: all folders of the tree but the
// tests, the benchmarks, the fuzz targets, hidden folders and build folders
// (those holding a CMakeCache.txt), in a fixed order.
inline std::vector<SourceFile> ProgramSources()
{
    namespace fs = std::filesystem;
    std::vector<SourceFile> files;
    for (const fs::directory_entry &top : fs::directory_iterator(Root())) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || name.starts_with('.') || name == "tests" || name == "bench" || name == "fuzz" ||
            fs::exists(top.path() / "CMakeCache.txt"))
            continue;
        for (const fs::directory_entry &entry : fs::recursive_directory_iterator(top.path())) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            files.push_back({fs::relative(entry.path(), Root()).generic_string(), text, CodeOf(text)});
        }
    }
    std::sort(files.begin(), files.end(), [](const SourceFile &a, const SourceFile &b) { return a.path < b.path; });
    return files;
}

} // namespace source_tree
