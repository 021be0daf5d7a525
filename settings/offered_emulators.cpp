#include "settings/offered_emulators.h"

#include "platform/adapters/emulator_adapters.h"
#include "platform/adapters/emulator_search.h"
#include "platform/paths.h"

#include <QFileInfo>

namespace {

QString InstalledAdapter(const QString &adapterFolder, const EmulatorAdapter &adapter, const std::string &searchPath)
{
    const QFileInfo program(JoinPath(adapterFolder, QString::fromLatin1(adapter.adapter)));
    if (!program.isFile() || !program.isExecutable() || FindEmulator(adapter.emulator, searchPath).empty())
        return {};
    return program.filePath();
}

} // namespace

OfferedEmulators OfferedEmulatorAdapters(const QString &adapterFolder, const std::string &searchPath)
{
    const QString blastem = InstalledAdapter(adapterFolder, kBlastEmAdapter, searchPath);
    const QString mednafen = InstalledAdapter(adapterFolder, kMednafenAdapter, searchPath);
    return {blastem.isEmpty() ? mednafen : blastem, mednafen.isEmpty() ? blastem : mednafen};
}
