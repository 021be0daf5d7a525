#include "listexport/catalogue_writer.h"
#include "platform/errors.h"
#include "platform/move_file.h"
#include "platform/profile/profile.h"
#include "support/folder_refusing_new_entries.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// Each file system a collection may live on, made from the image $W/img and
// mounted at $M by the test; the read-only share serves $W/seed instead.
struct FileSystem
{
    const char *name;
    const char *mount;
    bool writable = true;
    const char *refusedName = nullptr; // besides an over-long one, a name only some refuse
};

const FileSystem kFileSystems[] = {
    {"OwnDisk", "mkdir \"$M\""},
    {"Tmpfs", "mkdir \"$M\" && mount -t tmpfs romdeck-test \"$M\""},
    {"Ext2", "mkfs.ext2 -q -F \"$W/img\" && mkdir \"$M\" && mount -o loop \"$W/img\" \"$M\""},
    {"Fat", "mkfs.fat \"$W/img\" && mkdir \"$M\" && fusefat -o rw+ \"$W/img\" \"$M\"", true, "Sonic?.pcx"},
    {"ExFat", "mkfs.exfat \"$W/img\" && mkdir \"$M\" && mount -t exfat-fuse -o loop \"$W/img\" \"$M\"", true, "Sonic?.pcx"},
    {"Ntfs", "mkntfs -F -Q \"$W/img\" && mkdir \"$M\" && ntfs-3g \"$W/img\" \"$M\""},
    {"LatencyFs", "mkdir \"$M\" && \"$(dirname \"$ROMDECK_BINARY\")/latency_fs\" \"$W/seed\" \"$M\" --latency-us 100", false},
};

void PrintTo(const FileSystem &fs, std::ostream *out)
{
    *out << fs.name;
}

int Shell(const std::string &command)
{
    return std::system(("{ " + command + "; } >/dev/null 2>\"$W/error\"").c_str());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

class EveryWrite : public ::testing::TestWithParam<FileSystem>
{
};

TEST_P(EveryWrite, WorksWhereTheFileSystemAllowsIt)
{
    const FileSystem &fs = GetParam();
    if (geteuid() != 0)
        GTEST_SKIP() << fs.name << " is not mounted: that needs root";
    QTemporaryDir work, disk;
    const QString m = work.filePath("m");
    setenv("W", QFile::encodeName(work.path()), 1);
    setenv("M", QFile::encodeName(m), 1);
    setenv("D", QFile::encodeName(disk.path()), 1);
    Shell("mkdir \"$W/seed\" && echo 0 >\"$W/seed/snap0.pcx\" && echo 1 >\"$W/seed/snap1.pcx\" && cd \"$D\" && "
          "echo a >across.pcx && echo r >real.pcx && ln -s real.pcx link.pcx");
    if (Shell(std::string("truncate -s 64M \"$W/img\" && ") + fs.mount + (fs.writable ? " && cp \"$W\"/seed/* \"$M\"" : "")))
        GTEST_SKIP() << fs.name << " is not mounted: " << Read(work.filePath("error")).toStdString();
    struct Unmount { ~Unmount() { Shell("umount \"$M\""); } } unmount;
    const bool w = fs.writable;
    const auto at = [&](const std::string &name) { return QFile::encodeName(m) + "/" + name.c_str(); };
    const auto move = [](const QString &from, const QByteArray &to) {
        return MoveFileContentA(QFile::encodeName(from).constData(), to.constData()) != 0;
    };

    // Filing within the file system, never over another picture, across file systems, from a link, off it.
    EXPECT_EQ(move(m + "/snap0.pcx", at("SONIC.pcx")), w);
    EXPECT_FALSE(move(m + "/snap1.pcx", at("SONIC.pcx")));
    EXPECT_EQ(move(disk.filePath("across.pcx"), at("ACROSS.pcx")) && Read(m + "/ACROSS.pcx") == "a\n", w);
    EXPECT_EQ(move(disk.filePath("link.pcx"), at("LINK.pcx")) && Read(m + "/LINK.pcx") == "r\n", w);
    EXPECT_EQ(move(m + "/snap1.pcx", QFile::encodeName(disk.filePath("back.pcx"))), w);
    // Off the read-only share the original stays, and its copy is taken back.
    EXPECT_EQ(Read(disk.filePath("back.pcx")), w ? "1\n" : "<missing>");
    EXPECT_EQ(Read(m + "/snap1.pcx"), w ? "<missing>" : "1\n");
    EXPECT_EQ(Read(m + "/SONIC.pcx"), w ? "0\n" : "<missing>");
    // Names it cannot hold: the picture stays, and the failure says why.
    std::vector<std::string> refused{std::string(256, 'n') + ".pcx"};
    if (fs.refusedName)
        refused.push_back(fs.refusedName);
    for (const std::string &name : refused) {
        const bool filed = move(disk.filePath("real.pcx"), at(name));
        const int error = errno;
        EXPECT_FALSE(filed) << name;
        EXPECT_EQ(IsRefusedName(error, at(name)), w) << name;
    }
    // Deleting, and exporting the catalogue.
    EXPECT_EQ(unlink(at("SONIC.pcx")) == 0, w);
    try {
        CatalogueWriter catalogue(m + "/Genroms.txt");
        catalogue.AddRow(u"SONIC.BIN", u"SONIC", u"SONIC");
        catalogue.Close();
    } catch (const RomdeckError &) {
    }
    EXPECT_EQ(QFileInfo(m + "/Genroms.txt").size(), w ? 16 + 116 + 2 : 0);

    // The settings: a first save, a replacing one, and one in place where the folder can refuse new files.
    EXPECT_EQ(WritePrivateProfileStringA("General", "roms", "/r", at("romdeck.ini")), w);
    EXPECT_EQ(WritePrivateProfileStringA("General", "roms", "/a/longer/one", at("romdeck.ini")), w);
    const FolderRefusingNewEntries refusing(m.toStdString());
    if (!refusing.refusing())
        std::cout << fs.name << ": its folders cannot refuse new files, so the save in place is not tried\n";
    EXPECT_EQ(WritePrivateProfileStringA("Default", "fskip", "2", at("romdeck.ini")), w);
    EXPECT_EQ(Read(m + "/romdeck.ini"), w ? "[General]\r\nroms=/a/longer/one\r\n[Default]\r\nfskip=2\r\n" : "<missing>");
    // Nothing of ours is left behind.
    EXPECT_EQ(QDir(m).entryList({".*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

INSTANTIATE_TEST_SUITE_P(FileSystems, EveryWrite, ::testing::ValuesIn(kFileSystems),
                         [](const auto &row) { return std::string(row.param.name); });

} // namespace
