#include "platform/desktop_handlers.h"

#include "platform/xdg_folders.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

QStringList ConfigFolders()
{
    return QStringList{XdgConfigHome()} + XdgConfigDirs();
}

QStringList ApplicationFolders()
{
    QStringList folders = QStringList{XdgDataHome()} + XdgDataDirs();
    for (QString &folder : folders)
        folder += QStringLiteral("/applications");
    return folders;
}

// A desktop file ID names applications/sub/name.desktop as "sub-name.desktop".
bool EntryFileExists(const QString &folder, const QString &id)
{
    if (QFileInfo(folder + u'/' + id).isFile())
        return true;
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1)) {
        const QString sub = folder + u'/' + id.left(dash);
        if (QFileInfo(sub).isDir() && EntryFileExists(sub, id.mid(dash + 1)))
            return true;
    }
    return false;
}

bool EntryInstalled(const QString &id, const QStringList &applicationFolders)
{
    // An ID is a file name, never a path that could lead elsewhere.
    if (!id.endsWith(QStringLiteral(".desktop")) || id.contains(u'/') || id.startsWith(u'.'))
        return false;
    for (const QString &folder : applicationFolders) {
        if (EntryFileExists(folder, id))
            return true;
    }
    return false;
}

// The first installed entry listed for mimeType in one of the groups of a
// desktop-entry style file; empty when the file lists none. Lines are
// compared as bytes: only the matching one is decoded.
QString InstalledEntryFromList(const QString &path, const QList<QByteArray> &groups, const QByteArray &mimeType,
                               const QStringList &applicationFolders)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    const QByteArrayView text(content);
    bool inGroup = false;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        const QByteArrayView line = text.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.startsWith('[')) {
            inGroup = groups.contains(line);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inGroup || equals < 0 || line.first(equals).trimmed() != mimeType)
            continue;
        for (const QString &entry : QString::fromUtf8(line.sliced(equals + 1)).split(u';', Qt::SkipEmptyParts)) {
            if (EntryInstalled(entry.trimmed(), applicationFolders))
                return entry.trimmed();
        }
    }
    return {};
}

} // namespace

QString DefaultDesktopEntry(const QString &mimeType)
{
    const QStringList applicationFolders = ApplicationFolders();
    QStringList desktops;
    for (const QString &desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops << desktop.toLower();

    const QByteArray type = mimeType.toUtf8();
    const QList<QByteArray> defaultGroup{QByteArrayLiteral("[Default Applications]")};
    for (const QString &folder : ConfigFolders() + applicationFolders) {
        QStringList lists;
        for (const QString &desktop : desktops)
            lists << folder + u'/' + desktop + QStringLiteral("-mimeapps.list");
        lists << folder + QStringLiteral("/mimeapps.list");
        for (const QString &list : lists) {
            const QString entry = InstalledEntryFromList(list, defaultGroup, type, applicationFolders);
            if (!entry.isEmpty())
                return entry;
        }
    }
    // Without a chosen default, the programs that declare the type count.
    const QList<QByteArray> legacyGroups{QByteArrayLiteral("[Default Applications]"),
                                         QByteArrayLiteral("[MIME Cache]")};
    for (const QString &folder : applicationFolders) {
        for (const QString &name : {QStringLiteral("defaults.list"), QStringLiteral("mimeinfo.cache")}) {
            const QString entry = InstalledEntryFromList(folder + u'/' + name, legacyGroups, type, applicationFolders);
            if (!entry.isEmpty())
                return entry;
        }
    }
    return {};
}

bool DesktopOpensWebPages()
{
    return !DefaultDesktopEntry(QStringLiteral("text/html")).isEmpty();
}

bool DesktopOpensMailLinks()
{
    return !DefaultDesktopEntry(QStringLiteral("x-scheme-handler/mailto")).isEmpty();
}
