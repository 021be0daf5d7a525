#pragma once
#include "platform/windows_command_line.h"

#include <QString>

// Starts the program at the front of a Windows-style command line and returns
// true exactly when it was started.
//
// The program is found as Windows finds it: a line that starts with a double
// quote names the program between the quotes; otherwise the line is cut at each
// blank or tab in turn and the shortest front part that names an existing
// startable regular file is the program, the whole line being the last try.
// A file is startable when it has the run bit, or when it is a Windows
// program (told by its content, whatever its name). A name without '/' is
// looked up in PATH. What follows the program is split by
// SplitWindowsCommandLine into its arguments. Names that are no valid text
// travel in the line as FileNameText gives them; the program gets their bytes.
//
// A Windows program is started through the "wine" found in PATH, with those
// arguments after its path; true means that Wine was started, whatever Wine
// then does. A file that the system cannot run itself (a script without "#!")
// runs through /bin/sh with its path as the first argument, as execvp runs it.
//
// The program runs detached, in its own session, never through a command text
// for a shell. It inherits the environment, the working folder and the
// standard input, output and error, and no other open file. Nothing waits for
// it, and no zombie is left when it ends. False for an empty line, a missing
// program, a folder, a file without the run bit that is no Windows program, a
// Windows image that is no program (a library, a DOS program), a Windows
// program when no wine is found, or any failure to start it.
bool RunCommandLine(const QString &commandLine);
