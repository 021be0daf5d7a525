#include "settings/settings_layout.h"

#include "platform/file_kind.h"
#include "platform/file_name_text.h"
#include "platform/paths.h"
#include "platform/start_folder.h"
#include "settings/profile_values.h"
#include "settings/settings_location.h"

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kDefault = QStringLiteral("Default");
const QString kRoms = QStringLiteral("roms");
const QString kCdRom = QStringLiteral("cdrom");
const QString kPix = QStringLiteral("pix");
const QString kKGenLocation = QStringLiteral("kgenloc");
const QString kGenecystLocation = QStringLiteral("geneloc");
const QString kOptionsShowing = QStringLiteral("optshowing");
const QString kUseKGen = QStringLiteral("usekgen");
const QString kFrameSkip = QStringLiteral("fskip");
const QString kCountry = QStringLiteral("country");
const QString kDisableSound = QStringLiteral("dissound");
const QString kExtraCommandLine = QStringLiteral("extracmdline");

// Locations are looked at by their own bytes, so that one that is no valid
// text is kept rather than repaired away.
QString RepairedEmulator(const QString &stored, const QString &programFolder, const QString &besideProgram)
{
    if (IsFileAt(LocationPath(stored)))
        return stored;
    const QString copy = JoinPath(programFolder, besideProgram);
    return IsFileAt(FileNameBytes(copy)) ? copy : QString();
}

bool IsFolder(const QString &location)
{
    return !location.isEmpty() && IsFolderAt(LocationPath(location));
}

OptionSet ReadOptionSet(const ProfileReader &reader, const QString &section, int usekgen)
{
    return OptionSet{usekgen, reader.integer(section, kFrameSkip, 1), reader.integer(section, kCountry, 0),
                     reader.boolean(section, kDisableSound, false), reader.text(section, kExtraCommandLine, QString())};
}

void SetOptionSet(ProfileWrites &writes, const QString &section, const OptionSet &options)
{
    writes.setInteger(section, kUseKGen, options.usekgen);
    writes.setInteger(section, kFrameSkip, options.fskip);
    writes.setInteger(section, kCountry, options.country);
    writes.setBool(section, kDisableSound, options.dissound);
    writes.setText(section, kExtraCommandLine, options.extracmdline);
}

} // namespace

GeneralSettings ReadGeneralSettings(const QString &file, const QString &programFolder, const QString &startFolder)
{
    const ProfileReader reader(file);
    GeneralSettings settings;
    settings.roms = reader.text(kGeneral, kRoms, QString());
    if (!IsFolder(settings.roms))
        settings.roms = startFolder;
    settings.cdrom = reader.text(kGeneral, kCdRom, QString());
    settings.pix = reader.text(kGeneral, kPix, QString());
    if (!IsFolder(settings.pix))
        settings.pix = settings.roms;
    settings.kgenloc =
        RepairedEmulator(reader.text(kGeneral, kKGenLocation, QString()), programFolder, QStringLiteral("kgen.exe"));
    settings.geneloc = RepairedEmulator(reader.text(kGeneral, kGenecystLocation, QString()), programFolder,
                                        QStringLiteral("genecyst.exe"));
    settings.optshowing = reader.boolean(kGeneral, kOptionsShowing, true);
    return settings;
}

OptionSet ReadDefaultOptionSet(const QString &file)
{
    const ProfileReader reader(file);
    return ReadOptionSet(reader, kDefault, reader.integer(kDefault, kUseKGen, 0));
}

std::optional<OptionSet> ReadRomOptionSet(const QString &file, const QString &section)
{
    const ProfileReader reader(file);
    const int usekgen = reader.integer(section, kUseKGen, -1);
    if (usekgen == -1)
        return std::nullopt;
    return ReadOptionSet(reader, section, usekgen);
}

bool WriteSettings(const QString &file, const GeneralSettings &general, const OptionSet &defaults,
                   const std::optional<RomOptionSet> &rom)
{
    ProfileWrites writes;
    writes.setText(kGeneral, kRoms, general.roms);
    writes.setText(kGeneral, kPix, general.pix);
    writes.setText(kGeneral, kKGenLocation, general.kgenloc);
    writes.setText(kGeneral, kGenecystLocation, general.geneloc);
    writes.setText(kGeneral, kCdRom, general.cdrom);
    writes.setBool(kGeneral, kOptionsShowing, general.optshowing);
    SetOptionSet(writes, kDefault, defaults);
    const bool romStorable = !rom || ProfileWrites::CanStoreName(rom->section);
    if (rom && romStorable)
        SetOptionSet(writes, rom->section, rom->options);
    MakeSettingsFolder(file);
    writes.write(file);
    return romStorable;
}
