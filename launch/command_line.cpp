#include "launch/command_line.h"

#include "platform/windows_command_line.h"

namespace {

enum Country { Auto = 0, Japanese = 1, American = 2, European = 3 };

QString KGenCountrySwitch(int country)
{
    switch (country) {
    case Japanese: return QStringLiteral(" -J");
    case American: return QStringLiteral(" -U");
    case European: return QStringLiteral(" -E");
    default: return {};
    }
}

QString GenecystCountrySwitch(int country)
{
    switch (country) {
    case Japanese: return QStringLiteral(" -version Japan");
    case American: return QStringLiteral(" -version USA");
    case European: return QStringLiteral(" -version Europe");
    default: return {};
    }
}

QString KGenCommandLine(const OptionSet &options, const QString &rom, const QString &location)
{
    QString line = location + u' ' + rom;
    if (options.fskip != 1)
        line += QStringLiteral(" -f") + QString::number(options.fskip);
    if (options.dissound)
        line += QStringLiteral(" -S");
    line += KGenCountrySwitch(options.country);
    return line + u' ' + options.extracmdline;
}

QString GenecystCommandLine(const OptionSet &options, const QString &rom, const QString &location)
{
    QString line = location + QStringLiteral(" -run ") + rom;
    if (options.dissound)
        line += QStringLiteral(" -nosound");
    line += GenecystCountrySwitch(options.country);
    return line + u' ' + options.extracmdline;
}

} // namespace

QString BuildCommandLine(const OptionSet &options, const QString &romPath, const QString &kgenLocation,
                         const QString &genecystLocation)
{
    // ROM names such as "Title (Region).bin" hold blanks: unquoted, the
    // emulator would receive the pieces as separate arguments.
    const QString rom = QuoteWindowsArgument(romPath);
    if (options.usekgen == 0)
        return KGenCommandLine(options, rom, kgenLocation);
    return GenecystCommandLine(options, rom, genecystLocation);
}
