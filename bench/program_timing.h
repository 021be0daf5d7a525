#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <sys/types.h>

// The real program and the floors beside it, each timed as a process of its
// own: from its start until a shown window on the X server (DISPLAY) has a
// given caption, or until it ends.

// A started process; its output goes nowhere. -1 when it did not start.
pid_t Start(const QString &program, const QStringList &arguments, const QString &workingFolder);

// Waits for the process to end; its peak resident memory in KiB.
long Reap(pid_t pid);

// Times each start until the title shows; the process is then ended. Reports
// the peak memory as the counter peak_MiB.
void TimeUntilTitle(benchmark::State &state, const QString &program, const QStringList &arguments,
                    const QString &workingFolder, const QByteArray &title);

// Times each run of the program to its end; skips with an error when it fails.
void TimeToEnd(benchmark::State &state, const QString &program, const QStringList &arguments,
               const QString &workingFolder);

// Makes `folder` a program folder: a copy of romdeck (its folder is where its
// settings lie), a stand-in KGen so that no dialog opens, and settings naming
// `roms` as the ROM folder. False when any of it failed.
bool InstallProgram(const QString &romdeck, const QString &folder, const QString &roms);
