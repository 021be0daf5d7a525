#pragma once
// A stand-in emulator for launch tests: a shell script that records its
// working folder, its $0 and each argument on its own line, optionally one
// environment variable as NAME=value, and which of its open descriptors lead
// to a file whose name holds "leak-marker".

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

// Writes an executable stand-in at path that records into $ROMDECK_STANDIN_OUT.
inline void WriteStandIn(const QString &path, const QByteArray &variable = {})
{
    const QByteArray recordVariable =
        variable.isEmpty() ? QByteArray() : "  echo \"" + variable + "=${" + variable + "-unset}\"\n";
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "out=\"$ROMDECK_STANDIN_OUT\"\n"
                 "{\n"
                 "  pwd\n"
                 "  printf '%s\\n' \"$0\"\n"
                 "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n" +
                 recordVariable +
                 "  for fd in /proc/$$/fd/*; do\n"
                 "    case \"$(readlink \"$fd\")\" in *leak-marker*) echo LEAKED;; esac\n"
                 "  done\n"
                 "} > \"$out.part\"\n"
                 "mv \"$out.part\" \"$out\"\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// Points the stand-ins started from now on at outPath.
inline void SetStandInOutput(const QString &outPath)
{
    qputenv("ROMDECK_STANDIN_OUT", QFile::encodeName(outPath));
}

// The lines the stand-in recorded (working folder, $0, arguments...) as the
// bytes it got, once it has written them; empty if it never does.
inline QList<QByteArray> WaitForStandInBytes(const QString &outPath)
{
    QDeadlineTimer deadline(20000);
    while (!QFile::exists(outPath) && !deadline.hasExpired())
        QThread::msleep(5);
    QFile record(outPath);
    if (!record.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = record.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    record.close();
    record.remove();
    return lines;
}

// The same lines as text.
inline QStringList WaitForStandInRecord(const QString &outPath)
{
    QStringList lines;
    for (const QByteArray &line : WaitForStandInBytes(outPath))
        lines << QString::fromUtf8(line);
    return lines;
}

// Keeps the working folder of the test process as it was.
class WorkingFolderGuard
{
public:
    WorkingFolderGuard() : saved_(QDir::currentPath()) {}
    ~WorkingFolderGuard() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};
