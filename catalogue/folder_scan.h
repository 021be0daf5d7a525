#pragma once
#include "catalogue/rom_info.h"

#include <QString>
#include <functional>

// One ROM found by a folder scan: its list text and the object its entry carries.
struct FoundRom
{
    QString text;
    romobj object;
};

enum class ScanStep { GoOn, Stop };

// Called once for every directory entry of the folder, "." and ".." included,
// in the file system's order: with the ROM found there, or with null when the
// entry is no ROM. Answering Stop ends the scan of the folder at once.
using ScanVisitor = std::function<ScanStep(const FoundRom *rom)>;

// Walks one folder: each entry whose name has a ROM extension has its header
// title read (the plain or the SMD reader, by extension, which also sets
// HeaderName) and is given to visit. A missing or unreadable folder gives no
// entry. A ROM file that cannot be read raises its IoError, ending the scan.
void ScanFolder(const QString &folder, const ScanVisitor &visit);
