// Draws the program's artwork into files: romdeck_make_artwork FOLDER NAME...
// Each NAME is one of the pieces below, written as a PNG or, for a name
// ending in .bmp, as a BMP file. The build compiles the PNG files in as
// resources and puts the default picture beside the program.

#include "button_glyphs.h"
#include "default_picture.h"
#include "link_cursor.h"
#include "logos.h"
#include "tiles.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <functional>
#include <map>

int main(int argc, char **argv)
{
    const std::map<QString, std::function<QImage()>> pieces = {
        {QStringLiteral("main_tile.png"), MakeMainWindowTile},
        {QStringLiteral("dialog_tile.png"), MakeDialogTile},
        {QStringLiteral("logo_small.png"), MakeSmallLogo},
        {QStringLiteral("logo_large.png"), MakeLargeLogo},
        {QStringLiteral("glyph_go.png"), [] { return MakeLetteringGlyph(QStringLiteral("GO!")); }},
        {QStringLiteral("glyph_setup.png"), [] { return MakeLetteringGlyph(QStringLiteral("SETUP")); }},
        {QStringLiteral("glyph_edit.png"), [] { return MakeLetteringGlyph(QStringLiteral("EDIT")); }},
        {QStringLiteral("glyph_list_roms.png"), [] { return MakeLetteringGlyph(QStringLiteral("LIST ROMS")); }},
        {QStringLiteral("glyph_options.png"), [] { return MakeLetteringGlyph(QStringLiteral("OPTIONS")); }},
        {QStringLiteral("glyph_pix.png"), [] { return MakeLetteringGlyph(QStringLiteral("PIX")); }},
        {QStringLiteral("glyph_pick_pix.png"), [] { return MakeLetteringGlyph(QStringLiteral("PICK PIX")); }},
        {QStringLiteral("glyph_get_pix.png"), [] { return MakeLetteringGlyph(QStringLiteral("GET PIX")); }},
        {QStringLiteral("glyph_save.png"), [] { return MakeLetteringGlyph(QStringLiteral("SAVE")); }},
        {QStringLiteral("glyph_reload.png"), MakeReloadGlyph},
        {QStringLiteral("glyph_info.png"), MakeInfoGlyph},
        {QStringLiteral("glyph_close.png"), MakeCloseGlyph},
        {QStringLiteral("glyph_delete_pix.png"), MakeDeletePixGlyph},
        {QStringLiteral("link_cursor.png"), MakeLinkCursor},
        {QStringLiteral("romdeck.bmp"), MakeDefaultPicture},
    };
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER NAME...\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        const auto piece = pieces.find(name);
        if (piece == pieces.end()) {
            std::fprintf(stderr, "no artwork named %s\n", argv[i]);
            return 2;
        }
        const char *format = name.endsWith(QStringLiteral(".bmp")) ? "BMP" : "PNG";
        if (!piece->second().save(folder.filePath(name), format)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
            return 1;
        }
    }
    return 0;
}
