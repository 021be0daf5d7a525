// Every way Qt calls into the program goes through the handler guard, so that
// no error of a handler can reach Qt: read from the sources, as a rule that a
// new connection or event function cannot slip past.
#include "support/source_tree.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <string>
#include <vector>

namespace {

using source_tree::SourceFile;

// Where the guard itself makes its connections and queued calls.
const std::string kGuard = "platform/handler_guard.h";

// The offset just past the bracket that closes the one at `open`; npos when unbalanced.
std::size_t PastClosing(const std::string &code, std::size_t open)
{
    const char opening = code[open];
    const char closing = opening == '(' ? ')' : '}';
    int depth = 0;
    for (std::size_t i = open; i < code.size(); ++i) {
        if (code[i] == opening)
            ++depth;
        else if (code[i] == closing && --depth == 0)
            return i + 1;
    }
    return std::string::npos;
}

std::size_t SkipBlanks(const std::string &code, std::size_t at)
{
    while (at < code.size() && std::isspace(static_cast<unsigned char>(code[at])))
        ++at;
    return at;
}

// Whether a function body, braces included, is one statement
// `RunHandler(...);` or `return RunHandler(...);`.
bool IsOneRunHandler(const std::string &body)
{
    static const std::regex start(R"(^\{\s*(return\s+)?RunHandler\s*\()");
    std::smatch found;
    if (!std::regex_search(body, found, start))
        return false;
    std::size_t at = PastClosing(body, static_cast<std::size_t>(found.length(0)) - 1);
    if (at == std::string::npos || (at = SkipBlanks(body, at)) >= body.size() || body[at] != ';')
        return false;
    return SkipBlanks(body, at + 1) == body.size() - 1;
}

// An event function's definition: `Class::name(...) {` or `name(...) override {`.
struct EventFunction
{
    std::size_t at;
    std::string head; // "Class::name(" or "name("
    bool guarded;     // its body is one RunHandler statement
};

std::vector<EventFunction> EventFunctions(const std::string &code)
{
    static const std::regex name(R"((\b\w+\s*::\s*)?\b(event|eventFilter|\w+Event)\s*\()");
    static const std::regex qualifiers(R"(^\s*((const|noexcept|override|final)\b\s*)*)");
    std::vector<EventFunction> found;
    for (auto it = std::sregex_iterator(code.begin(), code.end(), name); it != std::sregex_iterator(); ++it) {
        const std::size_t afterParameters =
            PastClosing(code, static_cast<std::size_t>(it->position() + it->length()) - 1);
        if (afterParameters == std::string::npos)
            continue;
        std::smatch words;
        const std::string rest = code.substr(afterParameters, 200);
        std::regex_search(rest, words, qualifiers);
        const std::size_t brace = afterParameters + static_cast<std::size_t>(words.length(0));
        const bool overrides = words.str(0).find("override") != std::string::npos;
        if (brace >= code.size() || code[brace] != '{' || !((*it)[1].matched || overrides))
            continue; // a call, a declaration, or a function of the program's own
        const std::size_t end = PastClosing(code, brace);
        found.push_back({static_cast<std::size_t>(it->position()), it->str(),
                         end != std::string::npos && IsOneRunHandler(code.substr(brace, end - brace))});
    }
    return found;
}

// Each way in that is not guarded, as "path:line: what is wrong and what to do".
std::vector<std::string> UnguardedWaysIn(const SourceFile &file)
{
    std::vector<std::string> findings;
    const std::string &code = file.code;
    // Connections and queued calls: only the guard makes them.
    static const std::regex rawCall(R"(\b(connect|invokeMethod|singleShot|callOnTimeout)\s*\()");
    if (file.path != kGuard) {
        for (auto it = std::sregex_iterator(code.begin(), code.end(), rawCall); it != std::sregex_iterator(); ++it) {
            const std::string fix =
                (*it)[1] == "connect" ? "connect with ConnectHandler" : "queue it with QueueHandler";
            findings.push_back(file.where(static_cast<std::size_t>(it->position())) + ": " + (*it)[1].str() +
                               "( calls a handler outside the handler guard: " + fix + " (" + kGuard + ")");
        }
    }
    for (const EventFunction &function : EventFunctions(code)) {
        if (!function.guarded)
            findings.push_back(file.where(function.at) + ": " + function.head +
                               ") runs code outside the handler guard: make its whole body one statement, "
                               "RunHandler([&] { ... }); (return RunHandler(...); when it returns a value)");
    }
    return findings;
}

std::vector<std::string> UnguardedWaysIn(const std::string &path, const std::string &text)
{
    return UnguardedWaysIn(SourceFile{path, text, source_tree::CodeOf(text)});
}

TEST(HandlerEntryPoints, TheRuleFindsEachUnguardedWayInWithItsPlace)
{
    const struct
    {
        const char *text;
        std::vector<std::string> findings; // the places found, "path:line"
    } cases[] = {
        {"void A::build()\n{\n    connect(b, &B::clicked, this, [this] { go(); });\n}\n", {"a.cpp:3"}},
        {"QObject::connect(&t, &QTimer::timeout, [] {});\nQMetaObject::invokeMethod(this, [] {});\n",
         {"a.cpp:1", "a.cpp:2"}},
        {"ConnectHandler(b, &B::clicked, this, &A::go);\nb->disconnect();\n// connect( in prose\n"
         "auto s = \"connect(\";\nQueueHandler(this, [] {});\n",
         {}},
        {"void A::paintEvent(QPaintEvent *)\n{\n    QPainter p(this);\n}\n", {"a.cpp:1"}},
        {"bool A::event(QEvent *e)\n{\n    return RunHandler([&] { return QWidget::event(e); });\n}\n", {}},
        {"void A::keyPressEvent(QKeyEvent *e)\n{\n    RunHandler([&] { go(); });\n    QWidget::keyPressEvent(e);\n}\n",
         {"a.cpp:1"}},
        {"class A : public QWidget {\n"
         "    void showEvent(QShowEvent *) override {}\n"
         "    void resizeEvent(QResizeEvent *) override;\n"
         "    bool eventFilter(QObject *, QEvent *) override { return RunHandler([] { return true; }); }\n"
         "};\n",
         {"a.cpp:2"}},
        {"void A::go()\n{\n    QWidget::showEvent(e);\n    if (QWidget::event(e)) {\n    }\n}\n", {}},
    };
    for (const auto &one : cases) {
        SCOPED_TRACE(one.text);
        std::vector<std::string> places;
        for (const std::string &finding : UnguardedWaysIn("a.cpp", one.text))
            places.push_back(finding.substr(0, finding.find(": ")));
        EXPECT_EQ(places, one.findings);
    }
    const std::vector<std::string> told =
        UnguardedWaysIn("a.cpp", "void A::build()\n{\n    connect(b, &B::clicked, this, &A::go);\n}\n");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0],
              "a.cpp:3: connect( calls a handler outside the handler guard: connect with ConnectHandler "
              "(platform/handler_guard.h)");
}

TEST(HandlerEntryPoints, NoConnectionQueuedCallOrEventFunctionOfTheProgramLetsAnErrorReachQt)
{
    const std::vector<SourceFile> sources = source_tree::ProgramSources();
    std::string findings;
    int eventFunctions = 0;
    bool guardRead = false;
    for (const SourceFile &file : sources) {
        for (const std::string &finding : UnguardedWaysIn(file))
            findings += finding + '\n';
        guardRead = guardRead || file.path == kGuard;
        eventFunctions += static_cast<int>(EventFunctions(file.code).size());
    }
    EXPECT_TRUE(guardRead) << "the sources were not found under " << source_tree::Root();
    EXPECT_GT(eventFunctions, 20) << "the event functions were not found";
    EXPECT_TRUE(findings.empty()) << findings;
}

} // namespace
