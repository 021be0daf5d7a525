#pragma once
#include "platform/windows_command_line.h"

#include <QString>

// Starts the program at the front of a Windows-style command line and returns
// true exactly when it was started.
//
// The program is found as Windows finds it: a line that starts with a double
// quote names the program between the quotes; otherwise the line is cut at each
// blank or tab in turn and the shortest front part that names an existing
// executable regular file is the program, the whole line being the last try.
// A name without '/' is looked up in PATH. What follows the program is split
// by SplitWindowsCommandLine into its arguments.
//
// The program runs detached, in its own session, never through a shell. It
// inherits the environment, the working folder and the standard input, output
// and error, and no other open file. Nothing waits for it, and no zombie is
// left when it ends. False for an empty line, a missing program, a folder, a
// file without the run bit, or any failure to start it.
bool RunCommandLine(const QString &commandLine);
