#pragma once
#include "app/main_window.h"

#include <memory>

// The program's six windows, created once in a fixed order, the main window
// first; the secondary ones live hidden until a button shows them modally.
struct ProgramWindows
{
    ProgramWindows();
    ~ProgramWindows();

    std::unique_ptr<TForm1> Form1;
    SecondaryWindows secondary;
};
