// Where the program keeps romdeck.ini and finds its default picture: beside
// itself as a portable copy, else the user's configuration folder and the
// installed data folder. The first save there, as a user, is tested whole in
// tests/packaging/install_e2e.sh.
#include "preview/picture_names.h"
#include "platform/errors.h"
#include "settings/build_facts.h"
#include "settings/settings_layout.h"
#include "settings/settings_location.h"
#include "support/temporary_desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class InstallLocations : public ::testing::Test
{
protected:
    // A program folder with an install's data folder beside it when `installed`.
    QString programFolder(const QString &name, bool installed) const
    {
        const QString folder = root.filePath(name + QStringLiteral("/bin"));
        EXPECT_TRUE(QDir().mkpath(folder));
        if (installed)
            EXPECT_TRUE(QDir(folder).mkpath(QStringLiteral(ROMDECK_DATA_FROM_PROGRAM)));
        return folder;
    }

    QString userSettings() const { return desktop.configHome + QStringLiteral("/romdeck/romdeck.ini"); }

    TemporaryDesktop desktop;
    QTemporaryDir root;
};

TEST_F(InstallLocations, APortableCopyKeepsItsSettingsBesideItselfAnInstallInTheConfigurationFolder)
{
    struct Case
    {
        const char *name;
        bool installed;
        bool fileBeside;
        bool readOnly; // the folder refuses writes (not to root)
        bool portable;
    };
    const Case cases[] = {
        {"writable", false, false, false, true},        {"holds-the-file", false, true, true, true},
        {"read-only", false, false, true, false},       {"install", true, false, false, false},
        {"install-with-file", true, true, false, true},
    };
    for (const Case &c : cases) {
        if (c.readOnly && !c.fileBeside && geteuid() == 0)
            continue; // root writes any folder
        const QString folder = programFolder(QString::fromLatin1(c.name), c.installed);
        const QString beside = folder + QStringLiteral("/romdeck.ini");
        if (c.fileBeside)
            Touch(beside);
        if (c.readOnly)
            ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        EXPECT_EQ(SettingsFilePath(folder), c.portable ? beside : userSettings()) << c.name;
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // A folder that is not there cannot be written, whoever asks.
    EXPECT_EQ(SettingsFilePath(root.filePath(QStringLiteral("missing"))), userSettings());

    // Without a usable XDG_CONFIG_HOME, ~/.config.
    const QString installed = programFolder(QStringLiteral("plain-home"), true);
    for (const std::optional<QString> &configHome :
         {std::optional<QString>(), std::optional(QStringLiteral("rel/cfg"))}) {
        desktop.set("XDG_CONFIG_HOME", configHome);
        EXPECT_EQ(SettingsFilePath(installed), desktop.home + QStringLiteral("/.config/romdeck/romdeck.ini"));
    }
    // Without HOME, the home of the password database, not the root.
    desktop.set("HOME", std::nullopt);
    EXPECT_EQ(SettingsFilePath(installed),
              QFile::decodeName(getpwuid(getuid())->pw_dir) + QStringLiteral("/.config/romdeck/romdeck.ini"));
}

// No other user may plant a file or link in the configuration folder: one
// that others may write is made private again, and the save never writes
// through another user's link there. A portable copy's folder stays as it is.
TEST_F(InstallLocations, TheConfigurationFolderIsKeptTheUsersAlone)
{
    const QString portable = programFolder(QStringLiteral("portable"), false);
    const QString file = SettingsFilePath(programFolder(QStringLiteral("usr"), true));
    const QString folder = QFileInfo(file).path();
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString &open : {folder, portable})
        ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    WriteSettings(file, {}, {}, std::nullopt);
    WriteSettings(SettingsFilePath(portable), {}, {}, std::nullopt);
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
    EXPECT_EQ(QFileInfo(portable).permissions() & QFile::WriteOther, QFile::WriteOther);

    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    const QString victim = root.filePath(QStringLiteral("victim"));
    Touch(victim);
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::link(victim, file));
    ASSERT_EQ(::lchown(QFile::encodeName(file).constData(), 65534, 65534), 0);
    try {
        WriteSettings(file, {}, {}, std::nullopt);
        ADD_FAILURE() << "the save went through the link";
    } catch (const RomdeckError &error) {
        EXPECT_EQ(error.what(), "Unable to write to " + file.toStdString() + ": it is a link that another user made");
    }
    EXPECT_EQ(QFileInfo(victim).size(), 0);
}

TEST_F(InstallLocations, TheDefaultPictureBesideTheProgramComesFirstThenTheInstalledOne)
{
    const QString portable = programFolder(QStringLiteral("portable"), false);
    const QString installed = programFolder(QStringLiteral("usr"), true);
    const QByteArray besidePortable = QFile::encodeName(portable + QStringLiteral("/romdeck.bmp"));
    EXPECT_EQ(DefaultPicturePath(portable), besidePortable) << "neither: the usual place, which shows nothing";

    const QString data = QDir::cleanPath(installed + u'/' + QStringLiteral(ROMDECK_DATA_FROM_PROGRAM));
    Touch(data + QStringLiteral("/romdeck.bmp"));
    EXPECT_EQ(DefaultPicturePath(installed), QFile::encodeName(data + QStringLiteral("/romdeck.bmp")));
    Touch(installed + QStringLiteral("/romdeck.bmp"));
    EXPECT_EQ(DefaultPicturePath(installed), QFile::encodeName(installed + QStringLiteral("/romdeck.bmp")));
}

} // namespace
