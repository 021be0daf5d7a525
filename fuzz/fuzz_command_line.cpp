// The Windows command-line rules on any text: quoting an argument and
// splitting the result gives it back exactly, alone or among others, and so
// does the ROM path in a composed emulator command line. The input's lines
// are the arguments, in UTF-8.
#include "launch/command_line.h"
#include "platform/windows_command_line.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    if (SplitWindowsCommandLine(QuoteWindowsArgument(text)) != QStringList{text})
        abort();

    const QStringList arguments = text.split(u'\n');
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << QuoteWindowsArgument(argument);
    if (SplitWindowsCommandLine(quoted.join(u' ')) != arguments)
        abort();

    // Whatever the text, its words quoted again split back to the same words.
    const QStringList words = SplitWindowsCommandLine(text);
    quoted.clear();
    for (const QString &word : words)
        quoted << QuoteWindowsArgument(word);
    if (SplitWindowsCommandLine(quoted.join(u'\t')) != words)
        abort();

    OptionSet options;
    options.usekgen = size % 2;
    options.fskip = int(size % 4) + 1;
    options.country = int(size % 5);
    options.dissound = size % 3 == 0;
    const QStringList launched = SplitWindowsCommandLine(
        BuildCommandLine(options, arguments.first(), QStringLiteral("/emu/kgen.exe"), QStringLiteral("/emu/gens")));
    const int romAt = options.usekgen == 0 ? 1 : 2;
    if (launched.size() <= romAt || launched[romAt] != arguments.first())
        abort();
    return 0;
}
