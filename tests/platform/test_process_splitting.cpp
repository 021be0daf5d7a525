#include "platform/windows_command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsCommandLine, SplitsByTheRuntimeRules)
{
    const struct
    {
        QString line;
        QStringList arguments;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral(" \t "), {}},
        {QStringLiteral("  a b\tc  "), {"a", "b", "c"}},
        {QStringLiteral(R"("a b" c)"), {"a b", "c"}},
        {QStringLiteral(R"(a"b c"d e)"), {"ab cd", "e"}},
        {QStringLiteral(R"("" x "")"), {"", "x", ""}},
        {QStringLiteral(R"("open to the end)"), {"open to the end"}},
        // Backslashes count only before a double quote.
        {QStringLiteral(R"(a\b\\c\)"), {R"(a\b\\c\)"}},
        {QStringLiteral(R"(\"a)"), {R"("a)"}},
        {QStringLiteral(R"(a\\"b c")"), {R"(a\b c)"}},
        {QStringLiteral(R"(a\\\"b c)"), {R"(a\"b)", "c"}},
        {QStringLiteral(R"(a\\\\"b c")"), {R"(a\\b c)"}},
        {QStringLiteral(R"("a\\" b)"), {R"(a\)", "b"}},
        // Two quotes inside a quoted run: one literal quote, the run goes on.
        {QStringLiteral(R"("a""b c")"), {R"(a"b c)"}},
        {QStringLiteral(R"(""")"), {R"(")"}},
        {QStringLiteral(R"(a""b c)"), {"ab", "c"}},
        {QStringLiteral("'a b'"), {"'a", "b'"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitWindowsCommandLine(c.line), c.arguments) << c.line.toStdString();
}

TEST(WindowsCommandLine, QuotedArgumentsComeBackUnchanged)
{
    const QStringList plain = {"a", "/roms/a;b.bin", "-rf.bin", R"(C:\ROMS\GAME~1.SMD)", "$HOME", "a\\b\\"};
    for (const QString &argument : plain)
        EXPECT_EQ(QuoteWindowsArgument(argument), argument);

    const QStringList awkward = {"",
                                 "a b",
                                 "a\tb",
                                 R"(x"y.bin)",
                                 R"(")",
                                 R"(a\"b c)",
                                 R"(a\\"b)",
                                 R"(trailing \)",
                                 R"(trailing \\\)",
                                 R"("both ends")",
                                 "$(touch pwned).bin",
                                 QStringLiteral("Pok\u00e9mon (J) .bin")};
    for (const QString &argument : awkward) {
        const QString quoted = QuoteWindowsArgument(argument);
        EXPECT_TRUE(quoted.startsWith(u'"') && quoted.endsWith(u'"')) << quoted.toStdString();
        EXPECT_EQ(SplitWindowsCommandLine(quoted), QStringList{argument}) << quoted.toStdString();
    }

    QStringList quotedAll;
    for (const QString &argument : plain + awkward)
        quotedAll.append(QuoteWindowsArgument(argument));
    EXPECT_EQ(SplitWindowsCommandLine(quotedAll.join(u' ')), plain + awkward);

    EXPECT_EQ(QuoteWindowsArgument(R"(a\"b c\)"), R"("a\\\"b c\\")");
}

} // namespace
