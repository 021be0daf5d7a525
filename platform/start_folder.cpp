#include "platform/start_folder.h"

#include "platform/file_name_text.h"
#include "platform/paths.h"

#include <climits>
#include <unistd.h>

namespace {
QString startFolder;
}

void NoteStartFolder()
{
    // Kept without loss: a folder whose name is no valid text still works.
    char buffer[PATH_MAX];
    startFolder = getcwd(buffer, sizeof buffer) ? FileNameText(buffer) : QString();
}

QString StartFolder()
{
    return startFolder;
}

QString FromStartFolder(const QString &location)
{
    if (location.isEmpty() || location.startsWith(u'/') || startFolder.isEmpty())
        return location;
    return JoinPath(startFolder, location);
}

QByteArray LocationPath(const QString &location)
{
    return FileNameBytes(FromStartFolder(location));
}
