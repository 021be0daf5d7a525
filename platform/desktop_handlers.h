#pragma once
#include <QString>

// The desktop entry ("firefox.desktop") that the desktop opens a MIME type or
// a URL scheme ("x-scheme-handler/mailto") with by default, found in the
// desktop's association lists as `xdg-mime query default` finds it: the
// mimeapps.list files of the XDG configuration and data folders (desktop
// specific ones first), then defaults.list and mimeinfo.cache. Only an entry
// whose .desktop file is installed counts; empty when there is none.
// Read in-process from the environment's XDG folders.
QString DefaultDesktopEntry(const QString &mimeType);

// Whether the desktop has a default program for web pages (text/html).
bool DesktopOpensWebPages();

// Whether the desktop has a default program for mailto: links.
bool DesktopOpensMailLinks();
