#pragma once
#include <QCursor>
#include <QImage>

// The program's own pictures, drawn at build time by tools/artwork and
// compiled in as resources.

// Background tiles, 63 x 63, 256 colours (8-bit indexed).
QImage MainWindowTile();
QImage DialogTile();

// The logo on black, 24-bit colour; black is its transparent colour.
QImage MainWindowLogo(); // 150 x 57
QImage AboutLogo();      // 280 x 106

// Faces of the image buttons on a transparent ground, to be centred on the
// button: yellow block lettering, or an icon.
enum class ButtonGlyph {
    Go,
    Setup,
    Edit,
    ListRoms,
    Options,
    Pix,
    PickPix,
    GetPix, // the picture picker's accept button
    Save,   // the ROM list window's save button
    Reload,
    Info,
    Close,
    DeletePix
};
QImage ButtonGlyphImage(ButtonGlyph glyph);

// The pointing hand over a link: 32 x 32, black and white, hot spot at the
// fingertip. Needs the application object.
QCursor LinkCursor();
