#pragma once
#include <QImage>

// The program's icon for menus, launchers and its windows: a yellow block R
// on a blue tile, side x side pixels on a transparent ground, drawn for that
// size rather than scaled from another.
QImage MakeProgramIcon(int side);
