#pragma once
#include <QCursor>
#include <QIcon>
#include <QImage>

// The program's own pictures, drawn at build time by tools/artwork and
// compiled in as resources. Those that take a pixel ratio were drawn for the
// screen scales 1, 1.25, 1.5, 2 and 3: each comes as drawn for the least of
// them not below the ratio asked (else 3), with that as its device pixel
// ratio, so that it keeps its size in the window's pixels and shows the
// screen's detail. Sizes below are in the window's pixels.

// Background tiles, 63 x 63, 256 colours (8-bit indexed). Above ratio 1 the
// picture may hold several tiles across and down, so that its side is whole
// screen pixels (four at 1.25, two at 1.5).
QImage MainWindowTile(qreal ratio = 1);
QImage DialogTile(qreal ratio = 1);

// The logo on black, 24-bit colour; black is its transparent colour.
QImage MainWindowLogo(qreal ratio = 1); // 150 x 57
QImage AboutLogo(qreal ratio = 1);      // 280 x 106

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
QImage ButtonGlyphImage(ButtonGlyph glyph, qreal ratio = 1);

// The pointing hand over a link: 32 x 32, black and white, hot spot at the
// fingertip. Needs the application object.
QCursor LinkCursor();

// The program's icon in each size it was drawn in (those of the icon theme).
QIcon ProgramIcon();
