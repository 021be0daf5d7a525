#include "platform/xdg_folders.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

namespace {

// Without HOME, Qt would answer "/"; the password database knows the user's
// own home, as every XDG program takes it.
QString HomeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        return home;
    const struct passwd *user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? QFile::decodeName(user->pw_dir) : QDir::homePath();
}

QString XdgHome(const char *variable, const QString &fallback)
{
    const QString folder = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(folder) ? QDir::cleanPath(folder) : fallback;
}

QStringList XdgFolderList(const char *variable, const QStringList &fallback)
{
    QStringList folders;
    for (const QString &folder : qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders << QDir::cleanPath(folder);
    }
    return folders.isEmpty() ? fallback : folders;
}

} // namespace

QString XdgConfigHome()
{
    return XdgHome("XDG_CONFIG_HOME", HomeFolder() + QStringLiteral("/.config"));
}

QStringList XdgConfigDirs()
{
    return XdgFolderList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
}

QString XdgDataHome()
{
    return XdgHome("XDG_DATA_HOME", HomeFolder() + QStringLiteral("/.local/share"));
}

QStringList XdgDataDirs()
{
    return XdgFolderList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
}
