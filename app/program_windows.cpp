#include "app/program_windows.h"

#include "app/main_rom_list.h"
#include "dialogs/locations_dialog.h"
#include "dialogs/placeholder_window.h"
#include "listexport/rom_list_window.h"
#include "platform/start_folder.h"

ProgramWindows::ProgramWindows()
{
    // Relative locations are taken from the folder the program starts in.
    NoteStartFolder();
    Form1 = std::make_unique<TForm1>();
    // Owned by the main window as their parent, and deleted with it.
    secondary.about = new PlaceholderWindow(QStringLiteral("About Romdeck"), Form1.get());
    secondary.locations = new TForm3(Form1.get());
    secondary.romInfo = new PlaceholderWindow(QStringLiteral("ROM info"), Form1.get());
    secondary.pickPix = new PlaceholderWindow(QStringLiteral("Pick a preview picture"), Form1.get());
    secondary.listRoms = new Tformlistroms(Form1->lstdir->entries(), Form1.get());
    Form1->setSecondaryWindows(secondary);
}

ProgramWindows::~ProgramWindows() = default;
