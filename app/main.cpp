#include "app/command_line_answer.h"
#include "app/program_windows.h"
#include "settings/build_facts.h"
#include "widgets/accessible_controls.h"
#include "widgets/artwork.h"
#include "widgets/program_font.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Answered before the GUI starts, so that no display is needed.
    if (const std::optional<std::string> answer = CommandLineAnswer(argc, argv)) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Errors are caught and shown by the handlers themselves (platform/handler_guard.h).
    QApplication app(argc, argv);
    QApplication::setFont(ProgramFont());
    QApplication::setWindowIcon(ProgramIcon());
    InstallAccessibleControls();
    // Ties the windows to the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ROMDECK_APP_ID));
    ProgramWindows windows;
    windows.Form1->show();
    return app.exec();
}
