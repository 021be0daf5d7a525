#pragma once
#include <QString>

// A launch makes the snapshot folder the working folder, so that a relative
// location would name another file after it. Relative locations are taken
// from the working folder the program started in instead.

// Notes the working folder now as the start folder; done once, at start.
void NoteStartFolder();
QString StartFolder();

// The location taken from the start folder when it is relative; an absolute or
// empty location as it is.
QString FromStartFolder(const QString &location);

// The path a location names, as the system's own bytes: every use of a
// location (scan, launch, preview, delete, picker) goes through here, so that
// it names the same file before and after a launch.
QByteArray LocationPath(const QString &location);
