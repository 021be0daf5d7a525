#include "app/program_windows.h"

#include "app/main_rom_list.h"
#include "dialogs/about_window.h"
#include "dialogs/locations_dialog.h"
#include "dialogs/picture_picker.h"
#include "dialogs/rom_info_dialog.h"
#include "listexport/rom_list_window.h"
#include "platform/start_folder.h"
#include "widgets/image_button.h"

ProgramWindows::ProgramWindows()
{
    // Relative locations are taken from the folder the program starts in.
    NoteStartFolder();
    Form1 = std::make_unique<TForm1>();
    // Owned by the main window as their parent, and deleted with it.
    secondary.about = new TForm2(Form1.get());
    secondary.locations = new TForm3(Form1.get());
    secondary.romInfo = new Tforminfo(Form1.get());
    secondary.pickPix =
        new TFormpickpix({Form1->pix, Form1->labpixtitle, Form1->butpick, Form1->butdelpix}, Form1.get());
    secondary.listRoms = new Tformlistroms(Form1->lstdir->entries(), Form1.get());
    Form1->setSecondaryWindows(secondary);
}

ProgramWindows::~ProgramWindows() = default;
