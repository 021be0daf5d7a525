#include "platform/mounted_volumes.h"

#include <QStorageInfo>

bool IsUserVolume(const QByteArray &device, const QByteArray &fileSystemType)
{
    if (fileSystemType == "squashfs")
        return false;
    static const char *const networkTypes[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "virtiofs"};
    for (const char *type : networkTypes) {
        if (fileSystemType == type)
            return true;
    }
    return device.startsWith("/dev/") || fileSystemType.startsWith("fuse.");
}

QStringList MountedVolumeRoots()
{
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()) &&
            IsUserVolume(volume.device(), volume.fileSystemType()))
            roots << volume.rootPath();
    }
    return roots;
}
