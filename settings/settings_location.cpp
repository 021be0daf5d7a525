#include "settings/settings_location.h"

#include "platform/errors.h"
#include "platform/own_folder.h"
#include "platform/paths.h"
#include "platform/xdg_folders.h"
#include "settings/build_facts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSettingsName = QStringLiteral("romdeck.ini");

// Created folders are the user's alone, as the XDG scheme asks.
void MakePrivateFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder)
        MakePrivateFolder(parent);
    QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool IsPortable(const QString &programFolder)
{
    if (QFileInfo::exists(JoinPath(programFolder, kSettingsName)))
        return true;
    // The folder of an install is never portable, even for root, who may
    // write anywhere: settings do not belong among the installed programs.
    return QFileInfo(programFolder).isWritable() && !QFileInfo(InstalledDataFolder(programFolder)).isDir();
}

QString UserSettingsFolder()
{
    return XdgConfigHome() + QStringLiteral("/romdeck");
}

} // namespace

QString InstalledDataFolder(const QString &programFolder)
{
    return QDir::cleanPath(JoinPath(programFolder, QStringLiteral(ROMDECK_DATA_FROM_PROGRAM)));
}

QString SettingsFilePath(const QString &programFolder)
{
    if (IsPortable(programFolder))
        return JoinPath(programFolder, kSettingsName);
    return JoinPath(UserSettingsFolder(), kSettingsName);
}

void MakeSettingsFolder(const QString &file)
{
    const QString folder = QFileInfo(file).path();
    MakePrivateFolder(folder);
    if (folder != UserSettingsFolder())
        return;
    const QString untrusted = SecureOwnFolder(QFile::encodeName(folder), QFile::encodeName(FileNamePart(file)));
    if (!untrusted.isEmpty())
        throw RomdeckError("Unable to write to " + file.toStdString() + ": " + untrusted.toStdString());
}
