#include "platform/windows_command_line.h"

namespace {

bool IsArgumentSeparator(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

QStringList SplitWindowsCommandLine(const QString &commandLine)
{
    QStringList arguments;
    const qsizetype length = commandLine.size();
    qsizetype i = 0;
    while (true) {
        while (i < length && IsArgumentSeparator(commandLine[i]))
            ++i;
        if (i == length)
            return arguments;

        QString argument;
        bool quoted = false;
        while (i < length && (quoted || !IsArgumentSeparator(commandLine[i]))) {
            const QChar c = commandLine[i];
            if (c == u'\\') {
                qsizetype backslashes = 0;
                while (i < length && commandLine[i] == u'\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < length && commandLine[i] == u'"') {
                    argument.append(QString(backslashes / 2, u'\\'));
                    if (backslashes % 2 == 1) {
                        argument.append(u'"');
                        ++i;
                    }
                    // With an even count the quote is read as a quote below.
                } else {
                    argument.append(QString(backslashes, u'\\'));
                }
            } else if (c == u'"') {
                if (quoted && i + 1 < length && commandLine[i + 1] == u'"') {
                    argument.append(u'"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.append(c);
                ++i;
            }
        }
        arguments.append(argument);
    }
}

QString QuoteWindowsArgument(const QString &argument)
{
    const bool needsQuotes =
        argument.isEmpty() || argument.contains(u' ') || argument.contains(u'\t') || argument.contains(u'"');
    if (!needsQuotes)
        return argument;

    QString quoted(u'"');
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"') {
            // Each backslash before a quote must be doubled, and the quote escaped.
            quoted.append(QString(2 * backslashes + 1, u'\\'));
        } else {
            quoted.append(QString(backslashes, u'\\'));
        }
        backslashes = 0;
        quoted.append(c);
    }
    // Trailing backslashes stand before the closing quote.
    quoted.append(QString(2 * backslashes, u'\\'));
    quoted.append(u'"');
    return quoted;
}
