#include "app/program_windows.h"
#include "widgets/program_font.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // Errors are caught and shown by the handlers themselves (platform/handler_guard.h).
    QApplication app(argc, argv);
    QApplication::setFont(ProgramFont());
    ProgramWindows windows;
    windows.Form1->show();
    return app.exec();
}
