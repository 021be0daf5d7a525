#pragma once
#include <QByteArray>
#include <QStringList>

// The root folders of the mounted volumes a user keeps files on: the system's
// root first, then the others in mount order. Kernel and memory file systems
// (proc, sysfs, cgroup, tmpfs, ...) and read-only package images are left out.
QStringList MountedVolumeRoots();

// Whether a volume of this device and file-system type holds the user's files:
// a block device, a network share or a FUSE mount.
bool IsUserVolume(const QByteArray &device, const QByteArray &fileSystemType);
