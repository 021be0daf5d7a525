#include "listexport/catalogue_writer.h"
#include "platform/errors.h"
#include "platform/move_file.h"
#include "platform/profile/profile.h"
#include "support/folder_refusing_new_entries.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

namespace {

// Each file system a collection may live on, made from the image $W/img and
// mounted at $M by the test; the read-only share serves $W/seed instead.
struct FileSystem
{
    const char *name;
    const char *mount;
    bool writable = true;
    const char *refusedName = nullptr; // where not only an over-long name is refused
};

const FileSystem kFileSystems[] = {
    {"OwnDisk", "true"},
    {"Tmpfs", "mount -t tmpfs romdeck-test \"$M\""},
    {"Ext2", "mkfs.ext2 -q -F \"$W/img\" && mount -o loop \"$W/img\" \"$M\""},
    {"Fat", "mkfs.fat \"$W/img\" && fusefat -o rw+ \"$W/img\" \"$M\"", true, "Sonic?.pcx"},
    {"ExFat", "mkfs.exfat \"$W/img\" && mount -t exfat-fuse -o loop \"$W/img\" \"$M\"", true, "Sonic?.pcx"},
    {"Ntfs", "mkntfs -F -Q \"$W/img\" && ntfs-3g \"$W/img\" \"$M\""},
    {"LatencyFs", "\"$(dirname \"$ROMDECK_BINARY\")/latency_fs\" \"$W/seed\" \"$M\" --latency-us 100", false},
};

void PrintTo(const FileSystem &fs, std::ostream *out)
{
    *out << fs.name;
}

int Shell(const std::string &command)
{
    return std::system(("{ " + command + "; } >/dev/null 2>\"$W/error\"").c_str());
}

QByteArray Read(const QByteArray &path)
{
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
}

bool Move(const QByteArray &from, const QByteArray &to)
{
    return MoveFileContentA(from.constData(), to.constData()) != 0;
}

class EveryWrite : public ::testing::TestWithParam<FileSystem>
{
};

TEST_P(EveryWrite, WorksWhereTheFileSystemAllowsIt)
{
    const FileSystem &fs = GetParam();
    if (geteuid() != 0)
        GTEST_SKIP() << fs.name << " is not mounted: that needs root";
    const QTemporaryDir work, disk;
    const QByteArray root = QFile::encodeName(work.path()), m = root + "/m/", d = QFile::encodeName(disk.path()) + "/";
    setenv("W", root, 1);
    setenv("M", m, 1);
    Shell("mkdir \"$W/seed\" && echo 0 >\"$W/seed/snap0\" && echo 1 >\"$W/seed/snap1\" && cd " + d.toStdString() +
          " && echo a >across && echo r >real && ln -s real link");
    struct Unmount
    {
        ~Unmount() { Shell("umount \"$M\""); }
    } unmount; // also after a mount that went only part of the way
    if (Shell(std::string("truncate -s 64M \"$W/img\" && mkdir \"$M\" && ") + fs.mount +
              (fs.writable ? " && cp \"$W\"/seed/* \"$M\"" : "")))
        GTEST_SKIP() << fs.name << " is not mounted: " << Read(root + "/error").toStdString();
    const bool w = fs.writable;

    // Filing within the file system, never over another picture, across file systems, from a link, and off it:
    // off the read-only share the original stays, and its copy is taken back.
    EXPECT_EQ(Move(m + "snap0", m + "SONIC.pcx"), w);
    EXPECT_FALSE(Move(m + "snap1", m + "SONIC.pcx"));
    EXPECT_EQ(Move(d + "across", m + "ACROSS.pcx"), w);
    EXPECT_EQ(Move(d + "link", m + "LINK.pcx"), w);
    EXPECT_EQ(Move(m + "snap1", d + "back"), w);
    EXPECT_EQ(Read(m + "SONIC.pcx") + Read(m + "ACROSS.pcx") + Read(m + "LINK.pcx") + Read(d + "back") +
                  Read(m + "snap1"),
              w ? "0\na\nr\n1\n-" : "----1\n");
    // A name it cannot hold: the picture stays, and the failure says why.
    const QByteArray refused = m + (fs.refusedName ? QByteArray(fs.refusedName) : QByteArray(256, 'n'));
    const bool filed = Move(d + "real", refused);
    const int error = errno;
    EXPECT_FALSE(filed);
    EXPECT_EQ(IsRefusedName(error, refused), w);
    EXPECT_EQ(Read(d + "real"), "r\n");
    // Deleting, and exporting the catalogue.
    EXPECT_EQ(unlink(m + "SONIC.pcx") == 0, w);
    try {
        CatalogueWriter catalogue(QFile::decodeName(m + "Genroms.txt"));
        catalogue.AddRow(u"SONIC.BIN", u"SONIC", u"SONIC");
        catalogue.Close();
    } catch (const RomdeckError &) {
    }
    EXPECT_EQ(Read(m + "Genroms.txt").size(), w ? 16 + 116 + 2 : 1);

    // The settings: a first save, a replacing one, and one in place where the folder can refuse new files.
    EXPECT_EQ(WritePrivateProfileStringA("General", "roms", "/r", m + "romdeck.ini"), w);
    EXPECT_EQ(WritePrivateProfileStringA("General", "roms", "/a/longer/one", m + "romdeck.ini"), w);
    const FolderRefusingNewEntries refusing(m.toStdString());
    if (!refusing.refusing())
        std::cout << fs.name << ": its folders cannot refuse new files, so the save in place is not tried\n";
    EXPECT_EQ(WritePrivateProfileStringA("Default", "fskip", "2", m + "romdeck.ini"), w);
    EXPECT_EQ(Read(m + "romdeck.ini"), w ? "[General]\r\nroms=/a/longer/one\r\n[Default]\r\nfskip=2\r\n" : "-");
    // Nothing of ours is left behind.
    EXPECT_EQ(QDir(QFile::decodeName(m)).entryList({".*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, EveryWrite, ::testing::ValuesIn(kFileSystems),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
