#include "app/program_windows.h"
#include "platform/error_catching_application.h"
#include "widgets/program_font.h"

int main(int argc, char **argv)
{
    ErrorCatchingApplication app(argc, argv);
    QApplication::setFont(ProgramFont());
    ProgramWindows windows;
    windows.Form1->show();
    return app.exec();
}
