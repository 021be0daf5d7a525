#pragma once
// The latency file system of bench/ (a share whose requests wait, whose
// listings may fail) over a backing folder, mounted beside it for as long as
// the object lives. Needs the program (LATENCY_FS, given by the build) and a
// usable /dev/fuse; where either is missing, problem says so.

#include <QDir>
#include <QProcess>

struct LatencyShare
{
    LatencyShare(const QString &backing, const QStringList &options) : mountPoint(backing + QStringLiteral("-share"))
    {
#ifdef LATENCY_FS
        // Without -f it returns once mounted, and serves on in the background.
        if (!QDir().mkpath(mountPoint) || QProcess::execute(LATENCY_FS, QStringList{backing, mountPoint} + options))
            problem = "the latency file system did not mount (is /dev/fuse usable?)";
#else
        problem = "the latency file system was not built (no fuse3)";
#endif
    }
    ~LatencyShare()
    {
        QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-u"), QStringLiteral("-z"), mountPoint});
        QDir().rmdir(mountPoint);
    }

    const QString mountPoint;
    const char *problem = nullptr; // why there is no share
};
