#pragma once
#include <QByteArrayView>

// Which header reader a directory entry goes to, decided by its name alone.
enum class RomFileKind { NotRom, Plain, Smd };

// The extension is the name from its last "." on, when no "/" follows; its
// letters A-Z are lowered and only its first four characters count, so that
// "x.binx" reads as ".bin" while "x.10" is no ".1". The name is the system's
// own bytes: the extensions that count are ASCII, so bytes and characters
// give the same answer, also for names that are no valid text.
RomFileKind KindOfRomFile(QByteArrayView name);
