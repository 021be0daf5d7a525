#pragma once
#include <QString>
#include <QStringList>

// The folders of the XDG base directory scheme, read from the environment at
// each call. A relative folder in a variable is invalid and ignored, so the
// default takes its place; ~ is $HOME, or the user's home folder in the
// password database when that is unset.

// $XDG_CONFIG_HOME, else ~/.config: the user's own configuration.
QString XdgConfigHome();
// $XDG_CONFIG_DIRS, else /etc/xdg.
QStringList XdgConfigDirs();
// $XDG_DATA_HOME, else ~/.local/share.
QString XdgDataHome();
// $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
QStringList XdgDataDirs();
