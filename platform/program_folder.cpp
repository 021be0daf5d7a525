#include "platform/program_folder.h"

#include <QCoreApplication>

QString ProgramFolderPath()
{
    return QCoreApplication::applicationDirPath();
}
