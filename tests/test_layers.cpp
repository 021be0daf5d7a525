// The program's folders are layers, and includes point down them only: read
// from the sources, so that the order holds by a check rather than by habit.
//
// The layers, lowest first (the README's map of the folders):
//   platform/
//   catalogue/ settings/
//   launch/ preview/ widgets/
//   dialogs/ listexport/
//   app/
// A file includes files of its own folder (a sub-folder is part of its
// folder: widgets/sortablegrid/ is widgets/) and of folders on lower layers.
// An include of a higher layer points up; one of another folder on the same
// layer points sideways (launch/, preview/ and widgets/ among each other,
// catalogue/ and settings/, dialogs/ and listexport/): what both need belongs
// a layer further down. A control, any file of widgets/, never includes
// catalogue/. The program's own files are included by their path from the
// tree's root, so that every include can be placed.
//
// No two classes include each other, however far round: a class's own files
// are its header and its source, folder/name.h and folder/name.cpp, and an
// include circle is allowed only among those.
#include "support/source_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using source_tree::SourceFile;

const std::vector<std::vector<std::string>> kLayers = {
    {"platform"}, {"catalogue", "settings"}, {"launch", "preview", "widgets"}, {"dialogs", "listexport"}, {"app"},
};
const std::string kOrder = "platform; catalogue, settings; launch, preview, widgets; dialogs, listexport; app";

std::string FolderOf(const std::string &path)
{
    return path.substr(0, path.find('/'));
}

std::optional<int> LayerOf(const std::string &folder)
{
    for (int layer = 0; layer < int(kLayers.size()); ++layer) {
        if (std::count(kLayers[layer].begin(), kLayers[layer].end(), folder) > 0)
            return layer;
    }
    return std::nullopt;
}

struct Include
{
    std::size_t at;   // where the directive starts
    std::string name; // as written between the quotes or brackets
    bool quoted;      // "name" rather than <name>
};

// The include directives of a file's code: none in a comment counts.
std::vector<Include> IncludesOf(const SourceFile &file)
{
    static const std::regex directive(R"((^|\n)[ \t]*#[ \t]*include[ \t]*(["<]))");
    std::vector<Include> found;
    for (auto it = std::sregex_iterator(file.code.begin(), file.code.end(), directive); it != std::sregex_iterator();
         ++it) {
        const std::size_t open = static_cast<std::size_t>(it->position(2));
        const char close = file.text[open] == '"' ? '"' : '>';
        const std::size_t end = file.text.find(close, open + 1);
        if (end == std::string::npos)
            continue;
        found.push_back({static_cast<std::size_t>(it->position(0)) + (it->str(1).empty() ? 0 : 1),
                         file.text.substr(open + 1, end - open - 1), close == '"'});
    }
    return found;
}

// Each include of a file that goes against the layers, as "path:line: what is wrong".
std::vector<std::string> IncludesAgainstTheLayers(const SourceFile &file)
{
    std::vector<std::string> findings;
    const std::string folder = FolderOf(file.path);
    const std::optional<int> layer = LayerOf(folder);
    if (!layer)
        return findings; // the build's tools are no part of the program's layers
    for (const Include &include : IncludesOf(file)) {
        const std::string target = FolderOf(include.name);
        const std::optional<int> targetLayer =
            include.name.find('/') == std::string::npos ? std::nullopt : LayerOf(target);
        const std::string where = file.where(include.at) + ": includes " + include.name;
        if (!targetLayer) {
            if (include.quoted)
                findings.push_back(where + ", which is not written from the tree's root (\"folder/name.h\")");
        } else if (*targetLayer > *layer) {
            findings.push_back(where + ", which is a layer above " + folder + "/ (" + kOrder + ")");
        } else if (*targetLayer == *layer && target != folder) {
            findings.push_back(where + ", which is beside " + folder + "/ on its layer: move what both need down (" +
                               kOrder + ")");
        } else if (folder == "widgets" && target == "catalogue") {
            findings.push_back(where + ": a control never includes catalogue/; hand it the data it shows");
        }
    }
    return findings;
}

// The class a file belongs to: its path without the extension.
std::string ClassOf(const std::string &path)
{
    return path.substr(0, path.rfind('.'));
}

// Each circle of includes between the files of different classes, as
// "path:line: ..." for one include of the circle, naming the classes in it.
std::vector<std::string> IncludeCircles(const std::vector<SourceFile> &files)
{
    // Which class includes which, and one include that does it ("path:line: includes name").
    std::map<std::string, std::map<std::string, std::string>> includes;
    for (const SourceFile &file : files) {
        if (!LayerOf(FolderOf(file.path)))
            continue;
        const std::string from = ClassOf(file.path);
        includes[from];
        for (const Include &include : IncludesOf(file)) {
            const std::string to = ClassOf(include.name);
            const bool ofTheProgram = include.name.find('/') != std::string::npos && LayerOf(FolderOf(include.name));
            if (ofTheProgram && to != from && !includes[from].count(to))
                includes[from][to] = file.where(include.at) + ": includes " + include.name;
        }
    }
    // Classes that reach each other lie on one circle (Tarjan's strongly connected components).
    std::map<std::string, int> index, low;
    std::vector<std::string> stack;
    std::set<std::string> onStack;
    std::vector<std::vector<std::string>> circles;
    const std::function<void(const std::string &)> visit = [&](const std::string &node) {
        index[node] = low[node] = int(index.size());
        stack.push_back(node);
        onStack.insert(node);
        for (const auto &[next, place] : includes[node]) {
            if (!index.count(next)) {
                visit(next);
                low[node] = std::min(low[node], low[next]);
            } else if (onStack.count(next)) {
                low[node] = std::min(low[node], index[next]);
            }
        }
        if (low[node] != index[node])
            return;
        std::vector<std::string> component;
        std::string member;
        do {
            member = stack.back();
            stack.pop_back();
            onStack.erase(member);
            component.push_back(member);
        } while (member != node);
        if (component.size() > 1)
            circles.push_back(component);
    };
    const auto classes = includes; // the visits add the classes that are only included
    for (const auto &[node, edges] : classes) {
        if (!index.count(node))
            visit(node);
    }
    std::vector<std::string> findings;
    for (std::vector<std::string> &circle : circles) {
        std::sort(circle.begin(), circle.end());
        std::string names;
        for (const std::string &member : circle)
            names += (names.empty() ? "" : ", ") + member;
        for (const std::string &member : circle) {
            for (const auto &[next, place] : includes[member]) {
                if (std::count(circle.begin(), circle.end(), next) > 0)
                    findings.push_back(place + ", on an include circle of the classes " + names +
                                       ": one of them must not know the other");
            }
        }
    }
    std::sort(findings.begin(), findings.end());
    return findings;
}

std::vector<std::string> Findings(const std::vector<SourceFile> &files)
{
    std::vector<std::string> findings;
    for (const SourceFile &file : files) {
        for (std::string &finding : IncludesAgainstTheLayers(file))
            findings.push_back(std::move(finding));
    }
    for (std::string &finding : IncludeCircles(files))
        findings.push_back(std::move(finding));
    return findings;
}

// The places of the findings for files given as path and text.
std::vector<std::string> PlacesFound(const std::vector<std::pair<std::string, std::string>> &texts)
{
    std::vector<SourceFile> files;
    for (const auto &[path, text] : texts)
        files.push_back({path, text, source_tree::CodeOf(text)});
    std::vector<std::string> places;
    for (const std::string &finding : Findings(files))
        places.push_back(finding.substr(0, finding.find(": ")));
    return places;
}

TEST(IncludeLayers, TheRuleFindsEachIncludeAgainstTheLayersWithItsPlace)
{
    const struct
    {
        const char *path;
        const char *text;
        std::vector<std::string> places;
    } cases[] = {
        // Down, within the folder, and from outside the layers: all fine.
        {"app/a.cpp", "#include \"app/a.h\"\n#include \"dialogs/b.h\"\n#include \"platform/c.h\"\n", {}},
        {"widgets/sortablegrid/a.cpp", "#include \"widgets/b.h\"\n#include \"settings/c.h\"\n#include <QWidget>\n", {}},
        {"tools/a.cpp", "#include \"app/b.h\"\n#include \"b.h\"\n", {}},
        // Up.
        {"platform/a.cpp", "#include \"platform/a.h\"\n\n#include \"settings/b.h\"\n", {"platform/a.cpp:3"}},
        {"preview/a.h", "#pragma once\n#include <dialogs/b.h>\n", {"preview/a.h:2"}},
        {"dialogs/a.cpp", "  #  include \"app/b.h\"\n", {"dialogs/a.cpp:1"}},
        // Sideways.
        {"catalogue/a.cpp", "#include \"settings/b.h\"\n", {"catalogue/a.cpp:1"}},
        {"launch/a.cpp", "#include \"preview/b.h\"\n#include \"widgets/c.h\"\n", {"launch/a.cpp:1", "launch/a.cpp:2"}},
        {"listexport/a.cpp", "#include \"dialogs/b.h\"\n", {"listexport/a.cpp:1"}},
        // A control and the catalogue.
        {"widgets/sortablegrid/a.cpp", "#include \"catalogue/b.h\"\n", {"widgets/sortablegrid/a.cpp:1"}},
        // Not from the root.
        {"preview/a.cpp", "#include \"b.h\"\n#include \"../app/c.h\"\n", {"preview/a.cpp:1", "preview/a.cpp:2"}},
        // In comments and strings nothing counts.
        {"platform/a.cpp",
         "// #include \"app/b.h\"\n/*\n#include \"app/c.h\"\n*/\nauto s = \"#include \\\"app/d.h\\\"\";\n",
         {}},
    };
    for (const auto &one : cases) {
        SCOPED_TRACE(std::string(one.path) + ":\n" + one.text);
        EXPECT_EQ(PlacesFound({{one.path, one.text}}), one.places);
    }
    const std::vector<std::string> told = IncludesAgainstTheLayers(
        SourceFile{"launch/a.cpp", "#include \"preview/b.h\"\n", source_tree::CodeOf("#include \"preview/b.h\"\n")});
    ASSERT_EQ(told.size(), 1u);
    const std::string expected =
        "launch/a.cpp:1: includes preview/b.h, which is beside launch/ on its layer: move what both need down (";
    EXPECT_EQ(told[0], expected + kOrder + ")");
}

TEST(IncludeLayers, TheRuleFindsEachCircleBetweenClasses)
{
    // A class's header and source include each other freely.
    EXPECT_EQ(PlacesFound({{"widgets/a.h", "#include \"widgets/b.h\"\n"},
                           {"widgets/a.cpp", "#include \"widgets/a.h\"\n"},
                           {"widgets/b.cpp", "#include \"widgets/b.h\"\n"}}),
              std::vector<std::string>{});
    // Two classes, each source including the other's header.
    EXPECT_EQ(PlacesFound({{"widgets/a.h", ""},
                           {"widgets/a.cpp", "#include \"widgets/a.h\"\n#include \"widgets/b.h\"\n"},
                           {"widgets/b.h", ""},
                           {"widgets/b.cpp", "#include \"widgets/b.h\"\n\n#include \"widgets/a.h\"\n"}}),
              (std::vector<std::string>{"widgets/a.cpp:2", "widgets/b.cpp:3"}));
    // Three classes round, through a header.
    EXPECT_EQ(PlacesFound({{"widgets/a.cpp", "#include \"widgets/b.h\"\n"},
                           {"widgets/b.h", "#include \"widgets/c.h\"\n"},
                           {"widgets/c.cpp", "#include \"widgets/a.h\"\n"}}),
              (std::vector<std::string>{"widgets/a.cpp:1", "widgets/b.h:1", "widgets/c.cpp:1"}));
}

TEST(IncludeLayers, EveryIncludeOfTheProgramPointsDownAndNoClassesIncludeEachOther)
{
    const std::vector<SourceFile> sources = source_tree::ProgramSources();
    std::set<std::string> folders;
    for (const SourceFile &file : sources)
        folders.insert(FolderOf(file.path));
    for (const std::vector<std::string> &layer : kLayers) {
        for (const std::string &folder : layer)
            EXPECT_TRUE(folders.count(folder)) << folder << "/ was not found under " << source_tree::Root();
    }
    std::string findings;
    for (const std::string &finding : Findings(sources))
        findings += finding + '\n';
    EXPECT_TRUE(findings.empty()) << findings;
}

} // namespace
