#pragma once
// Probes of started processes, shared by the launch tests and benchmarks: a
// stand-in emulator that signals through a fifo when it runs, the children
// this process left, and what it holds.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

// A stand-in emulator that writes one byte into the fifo named by its last
// argument as soon as it runs, then ends.
inline QString WriteSignallingStandIn(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("emu"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nfor a; do last=$a; done\nprintf x > \"$last\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}

// A fifo that the stand-ins write into. Opened for reading and writing, so
// that a read blocks until a byte comes rather than seeing end of file
// between two writers.
inline int OpenFifo(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (mkfifo(name.constData(), 0600) != 0)
        return -1;
    return open(name.constData(), O_RDWR | O_CLOEXEC);
}

inline bool AwaitSignal(int fifo)
{
    char byte;
    return read(fifo, &byte, 1) == 1;
}

// State letters ('R', 'S', 'Z', ...) of every process whose parent is this one.
inline QList<char> ChildStates()
{
    QList<char> states;
    const QByteArray self = QByteArray::number(getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid ...": comm may hold blanks and parentheses.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest[1] == self)
            states.append(rest[0].at(0));
    }
    return states;
}

inline int ZombieChildren()
{
    return static_cast<int>(ChildStates().count('Z'));
}

inline int OpenDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size();
}

inline long ResidentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}
