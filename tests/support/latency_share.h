#pragma once
// The latency file system of bench/ (a share whose requests wait, whose
// listings may fail) over a backing folder, mounted at "share" beside it for
// as long as the object lives. Needs the program (LATENCY_FS, given by the
// build) and a usable /dev/fuse; where either is missing, problem() says so.

#include <QDir>
#include <QProcess>
#include <QThread>

#include <sys/stat.h>

class LatencyShare
{
public:
    LatencyShare(const QString &backing, const QStringList &options) : mountPoint_(backing + QStringLiteral("-share"))
    {
#ifdef LATENCY_FS
        QDir().mkpath(mountPoint_);
        server_.start(QStringLiteral(LATENCY_FS), QStringList{backing, mountPoint_, QStringLiteral("-f")} + options);
        struct stat above {}, mount {};
        stat(QFile::encodeName(backing).constData(), &above);
        for (int waited = 0; waited < 5000 && server_.state() != QProcess::NotRunning; waited += 10) {
            if (stat(QFile::encodeName(mountPoint_).constData(), &mount) == 0 && mount.st_dev != above.st_dev)
                return;
            QThread::msleep(10);
        }
        problem_ = "the latency file system did not mount (is /dev/fuse usable?)";
#else
        problem_ = "the latency file system was not built (no fuse3)";
#endif
    }
    ~LatencyShare()
    {
        QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-u"), QStringLiteral("-z"), mountPoint_});
        server_.waitForFinished();
        QDir().rmdir(mountPoint_);
    }

    const char *problem() const { return problem_; }
    const QString &path() const { return mountPoint_; }

private:
    QString mountPoint_;
    QProcess server_;
    const char *problem_ = nullptr;
};
