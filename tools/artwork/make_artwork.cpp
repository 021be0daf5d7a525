// Draws the program's artwork into files: romdeck_make_artwork FOLDER NAME...
// Each NAME is one of the pieces below, written as a PNG or, for a name
// ending in .bmp, as a BMP file. A piece drawn for a screen scale other than
// 1 carries it before its ending: "logo_small@1.25x.png"; the program's icon
// its side: "icon_48.png". The build compiles the PNG files in as resources,
// puts the default picture beside the program and installs the icons.

#include "button_glyphs.h"
#include "default_picture.h"
#include "link_cursor.h"
#include "logos.h"
#include "program_icon.h"
#include "tiles.h"

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <functional>
#include <map>
#include <utility>

namespace {

// "logo_small@1.25x.png" is logo_small.png at scale 1.25; a name without "@"
// has scale 1; a scale that does not read gives 0.
std::pair<QString, double> PieceAndScale(const QString &name)
{
    const qsizetype at = name.indexOf(u'@');
    const qsizetype ending = name.lastIndexOf(u'.');
    if (at < 0)
        return {name, 1};
    if (ending < at + 3 || name[ending - 1] != u'x')
        return {name, 0};
    bool number = false;
    const double scale = name.mid(at + 1, ending - 1 - (at + 1)).toDouble(&number);
    return {name.left(at) + name.mid(ending), number ? scale : 0};
}

// The side of the program's icon that "icon_SIDE.png" names, else 0.
int IconSide(const QString &name)
{
    const QString prefix = QStringLiteral("icon_"), ending = QStringLiteral(".png");
    if (!name.startsWith(prefix) || !name.endsWith(ending))
        return 0;
    const int side = name.mid(prefix.size(), name.size() - prefix.size() - ending.size()).toInt();
    return side > 0 && side <= 1024 ? side : 0;
}

} // namespace

int main(int argc, char **argv)
{
    const auto lettering = [](const char *text) {
        return [text](double scale) { return MakeLetteringGlyph(QString::fromLatin1(text), scale); };
    };
    // Drawn for any screen scale.
    const std::map<QString, std::function<QImage(double scale)>> scaled = {
        {QStringLiteral("main_tile.png"), MakeMainWindowTile},
        {QStringLiteral("dialog_tile.png"), MakeDialogTile},
        {QStringLiteral("logo_small.png"), MakeSmallLogo},
        {QStringLiteral("logo_large.png"), MakeLargeLogo},
        {QStringLiteral("glyph_go.png"), lettering("GO!")},
        {QStringLiteral("glyph_setup.png"), lettering("SETUP")},
        {QStringLiteral("glyph_edit.png"), lettering("EDIT")},
        {QStringLiteral("glyph_list_roms.png"), lettering("LIST ROMS")},
        {QStringLiteral("glyph_options.png"), lettering("OPTIONS")},
        {QStringLiteral("glyph_pix.png"), lettering("PIX")},
        {QStringLiteral("glyph_pick_pix.png"), lettering("PICK PIX")},
        {QStringLiteral("glyph_get_pix.png"), lettering("GET PIX")},
        {QStringLiteral("glyph_save.png"), lettering("SAVE")},
        {QStringLiteral("glyph_reload.png"), MakeReloadGlyph},
        {QStringLiteral("glyph_info.png"), MakeInfoGlyph},
        {QStringLiteral("glyph_close.png"), MakeCloseGlyph},
        {QStringLiteral("glyph_delete_pix.png"), MakeDeletePixGlyph},
    };
    // Drawn once, in their own pixels.
    const std::map<QString, std::function<QImage()>> fixed = {
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
        const auto [piece, scale] = PieceAndScale(name);
        QImage image;
        if (const auto draw = scaled.find(piece); draw != scaled.end() && scale >= 1)
            image = draw->second(scale);
        else if (const auto draw = fixed.find(piece); draw != fixed.end() && scale == 1)
            image = draw->second();
        else if (const int side = IconSide(name); side > 0)
            image = MakeProgramIcon(side);
        else {
            std::fprintf(stderr, "no artwork named %s\n", argv[i]);
            return 2;
        }
        const char *format = name.endsWith(QStringLiteral(".bmp")) ? "BMP" : "PNG";
        if (!image.save(folder.filePath(name), format)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(folder.filePath(name)));
            return 1;
        }
    }
    return 0;
}
