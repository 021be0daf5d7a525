#pragma once
#include <QString>
#include <QStringList>

// The argument rules of the Microsoft C runtime (the Universal CRT, as in every
// runtime since Visual C++ 2008), which emulators built for Windows expect:
// - blanks and tabs outside double quotes separate arguments;
// - a double quote starts or ends a quoted run, in which blanks and tabs are kept;
// - 2n backslashes before a double quote give n backslashes, and the quote
//   starts or ends a quoted run; 2n+1 backslashes before a double quote give
//   n backslashes and a literal quote;
// - backslashes not followed by a double quote are literal;
// - inside a quoted run, two double quotes in a row give one literal quote and
//   the run goes on.
QStringList SplitWindowsCommandLine(const QString &commandLine);

// The argument as it must appear in a command line so that the rules above give
// it back as one unchanged argument: as it is when it is not empty and holds no
// blank, tab or double quote; otherwise in double quotes, with each inner quote
// written \" and the backslashes before an inner or the closing quote doubled.
QString QuoteWindowsArgument(const QString &argument);
