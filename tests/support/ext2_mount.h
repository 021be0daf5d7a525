#pragma once
// An ext2 file system while the object lives: an image file in a given folder,
// mounted through a loop device at "ext2" beside it. ext2 has no allocation
// call of its own (fallocate fails with EOPNOTSUPP), like ext3 without
// extents, NFSv3 and many FUSE file systems. Mounting needs root and a system
// that allows it; where it fails, problem() says why.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <string>
#include <unistd.h>

class Ext2Mount
{
public:
    explicit Ext2Mount(const QString &folder)
        : image_(QDir(folder).filePath(QStringLiteral("ext2.img"))),
          mountPoint_(QDir(folder).filePath(QStringLiteral("ext2")))
    {
        if (geteuid() != 0) {
            problem_ = QStringLiteral("mounting a file system needs root");
            return;
        }
        QFile image(image_);
        if (!QDir().mkpath(mountPoint_) || !image.open(QIODevice::WriteOnly) || !image.resize(8 << 20)) {
            problem_ = QStringLiteral("cannot make the image");
            return;
        }
        image.close();
        // Blocks of 1 KiB, so that a file of a few KiB spans several.
        problem_ = run(QStringLiteral("mkfs.ext2"), QStringLiteral("-q -F -b 1024").split(u' ') << image_);
        if (problem_.isEmpty())
            problem_ =
                run(QStringLiteral("mount"), QStringLiteral("-t ext2 -o loop").split(u' ') << image_ << mountPoint_);
        mounted_ = problem_.isEmpty();
    }

    ~Ext2Mount()
    {
        if (mounted_)
            run(QStringLiteral("umount"), {mountPoint_});
    }

    Ext2Mount(const Ext2Mount &) = delete;
    Ext2Mount &operator=(const Ext2Mount &) = delete;

    bool mounted() const { return mounted_; }
    const QString &problem() const { return problem_; }
    std::string folder() const { return mountPoint_.toStdString(); }
    std::string path(const char *name) const { return QDir(mountPoint_).filePath(name).toStdString(); }

private:
    // What went wrong running the tool, or an empty text.
    static QString run(const QString &tool, const QStringList &arguments)
    {
        QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            program = QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        if (program.isEmpty())
            return tool + QStringLiteral(" is not installed");
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return tool + QStringLiteral(" failed: ") +
                QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return {};
    }

    QString image_;
    QString mountPoint_;
    QString problem_;
    bool mounted_ = false;
};
