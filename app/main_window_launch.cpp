#include "app/main_window.h"

#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "launch/command_line.h"
#include "platform/current_folder.h"
#include "platform/errors.h"
#include "platform/file_name_text.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "platform/start_folder.h"
#include "settings/program_values.h"

namespace {

// A relative path is taken from the start folder like every other location;
// a bare program name stays a command, which the launch looks up in PATH.
QString EmulatorLocation(const QString &location)
{
    return location.contains(u'/') ? FromStartFolder(location) : location;
}

} // namespace

void TForm1::butGOClick()
{
    // Saved first, whatever follows: a refused save ends the launch here.
    SaveSettings();
    const int selected = lstdir->itemIndex();
    if (selected < 0) {
        ShowMessage(MessageType::Error, QStringLiteral("What have you forgot ?"));
        return;
    }
    const OptionSet options = panopt->values();
    if (options.usekgen == 0 && KGenLocation.isEmpty()) {
        ShowMessage(MessageType::Error, QStringLiteral("Please set KGen location in setup."));
        return;
    }
    if (options.usekgen == 1 && GenecystLocation.isEmpty()) {
        ShowMessage(MessageType::Error, QStringLiteral("Please set Genecyst location in setup."));
        return;
    }
    rom_info info;
    lstdir->item(selected).object.getrominfo(info);
    // The ROM path goes into the line without loss, whatever its bytes.
    const QString commandLine = BuildCommandLine(options, FileNameText(info.filename), EmulatorLocation(KGenLocation),
                                                 EmulatorLocation(GenecystLocation));
    // The emulator runs in the snapshot folder by inheriting it as the working folder.
    const QByteArray snapshots = LocationPath(PixFolder);
    if (!SetCurrentDirectoryA(snapshots.constData()))
        throw IoError::FromErrno(static_cast<int>(GetLastError()), snapshots);
    if (!RunCommandLine(commandLine))
        ShowMessage(MessageType::Information, QStringLiteral("no"));
}
