#include "preview/picture_lib.h"
#include "widgets/artwork.h"
#include "widgets/background.h"
#include "widgets/image_button.h"
#include "widgets/window_decoration.h"

#include <QBitmap>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cmath>

namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb colour)
{
    return 0.2126 * Linear(qRed(colour)) + 0.7152 * Linear(qGreen(colour)) + 0.0722 * Linear(qBlue(colour));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Mean colour difference between two columns (or rows) of a picture.
double StepBetween(const QImage &image, int a, int b, bool columns)
{
    double sum = 0;
    for (int i = 0; i < image.width(); ++i) {
        const QRgb p = columns ? image.pixel(a, i) : image.pixel(i, a);
        const QRgb q = columns ? image.pixel(b, i) : image.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / image.width();
}

} // namespace

TEST(Artwork, TilesAreQuietIndexedAndSeamless)
{
    for (const QImage &tile : {MainWindowTile(), DialogTile()}) {
        ASSERT_EQ(tile.size(), QSize(63, 63));
        EXPECT_EQ(tile.format(), QImage::Format_Indexed8);
        EXPECT_LE(tile.colorCount(), 256);
        // The program's yellow text stays readable on every pixel.
        double worst = 100;
        for (int y = 0; y < 63; ++y)
            for (int x = 0; x < 63; ++x)
                worst = std::min(worst, Contrast(qRgb(255, 255, 0), tile.pixel(x, y)));
        EXPECT_GE(worst, 4.5);
        // Where a tile meets the next, the step is no larger than the steps
        // inside its own pattern.
        for (bool columns : {true, false}) {
            double largestInside = 0;
            for (int i = 0; i + 1 < 63; ++i)
                largestInside = std::max(largestInside, StepBetween(tile, i, i + 1, columns));
            EXPECT_LE(StepBetween(tile, 62, 0, columns), largestInside);
        }
    }
}

TEST(Artwork, LogosGlyphsAndCursorFitTheirPlaces)
{
    const std::pair<QImage, QSize> logos[] = {{MainWindowLogo(), {150, 57}}, {AboutLogo(), {280, 106}}};
    for (const auto &[logo, size] : logos) {
        EXPECT_EQ(logo.size(), size);
        EXPECT_FALSE(logo.hasAlphaChannel());
        EXPECT_EQ(logo.depth(), 32);
        EXPECT_EQ(logo.pixel(0, 0), qRgb(0, 0, 0));
        int black = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                black += logo.pixel(x, y) == qRgb(0, 0, 0);
        EXPECT_GT(black, size.width() * size.height() / 4);
        EXPECT_LT(black, size.width() * size.height() * 9 / 10);
    }

    // Each face fits inside the smallest button that shows it (less the
    // button's 2-pixel rim) and has both ink and transparent ground.
    const std::pair<ButtonGlyph, QSize> faces[] = {
        {ButtonGlyph::Go, {260, 29}},       {ButtonGlyph::Setup, {100, 29}},    {ButtonGlyph::Edit, {99, 29}},
        {ButtonGlyph::ListRoms, {100, 29}}, {ButtonGlyph::Options, {153, 25}},  {ButtonGlyph::Pix, {153, 25}},
        {ButtonGlyph::PickPix, {149, 33}},  {ButtonGlyph::Reload, {23, 23}},    {ButtonGlyph::Info, {40, 29}},
        {ButtonGlyph::Close, {37, 29}},     {ButtonGlyph::DeletePix, {17, 21}}, {ButtonGlyph::Save, {105, 29}},
        {ButtonGlyph::GetPix, {317, 29}}};
    for (const auto &[glyph, button] : faces) {
        const QImage face = ButtonGlyphImage(glyph).convertToFormat(QImage::Format_ARGB32);
        EXPECT_LE(face.width(), button.width() - 4) << int(glyph);
        EXPECT_LE(face.height(), button.height() - 4) << int(glyph);
        int ink = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                ink += qAlpha(face.pixel(x, y)) == 255;
        EXPECT_GT(ink, 10) << int(glyph);
        EXPECT_EQ(qAlpha(face.pixel(0, face.height() - 1)), 0) << int(glyph);
    }

    // The hand: black and white only, its hot spot on its black outline.
    const QCursor hand = LinkCursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    const QImage black = hand.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = hand.mask().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(black.size(), QSize(32, 32));
    int blackPixels = 0, whitePixels = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool isBlack = black.pixel(x, y) == qRgb(0, 0, 0);
            const bool isDrawn = drawn.pixel(x, y) == qRgb(0, 0, 0);
            EXPECT_TRUE(isDrawn || !isBlack);
            blackPixels += isDrawn && isBlack;
            whitePixels += isDrawn && !isBlack;
        }
    }
    EXPECT_GT(blackPixels, 40);
    EXPECT_GT(whitePixels, 80);
    EXPECT_EQ(black.pixel(hand.hotSpot()), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(hand.hotSpot()), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(0, 31), qRgb(255, 255, 255));
}

namespace {

// A widget painted as a screen of the given pixel ratio shows it.
QImage RenderedAt(QWidget &widget, qreal ratio)
{
    QImage screen((QSizeF(widget.size()) * ratio).toSize(), QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    screen.fill(Qt::magenta);
    widget.render(&screen);
    screen.setDevicePixelRatio(1);
    return screen;
}

} // namespace

TEST(Artwork, EachScreenScaleGetsArtworkDrawnForItTiledOnItsPixels)
{
    const std::pair<qreal, qreal> ratios[] = {{0.75, 1}, {1, 1}, {1.25, 1.25}, {1.4, 1.5}, {1.5, 1.5},
                                              {1.75, 2}, {2, 2}, {3, 3},       {4, 3}};
    for (const auto &[asked, drawn] : ratios) {
        const QImage logo = MainWindowLogo(asked);
        EXPECT_EQ(logo.devicePixelRatio(), drawn) << asked;
        EXPECT_EQ(logo.size(), QSize(int(std::ceil(150 * drawn)), int(std::ceil(57 * drawn)))) << asked;
        const QImage tile = DialogTile(asked);
        EXPECT_EQ(tile.format(), QImage::Format_Indexed8);
        // Whole tiles in whole screen pixels: the grid stays 63 window pixels.
        const double tiles = tile.width() / drawn / 63;
        EXPECT_EQ(tiles, std::round(tiles)) << asked;
        const QSize face = ButtonGlyphImage(ButtonGlyph::Setup, asked).size();
        const QSize one = ButtonGlyphImage(ButtonGlyph::Setup).size();
        EXPECT_EQ(face, QSize(int(std::ceil(one.width() * drawn)), int(std::ceil(one.height() * drawn)))) << asked;
    }

    for (qreal ratio : {1.25, 1.5, 2.0}) {
        // The tile repeats in the screen's pixels from the control's corner.
        QWidget window;
        window.resize(150, 110);
        const QImage tile = MainWindowTile(ratio).convertToFormat(QImage::Format_RGB32);
        AddTiledBackground(&window, MainWindowTile(ratio));
        const QImage tiled = RenderedAt(window, ratio);
        int wrong = 0;
        for (int y = 0; y < tiled.height(); ++y)
            for (int x = 0; x < tiled.width(); ++x)
                wrong += tiled.pixel(x, y) != tile.pixel(x % tile.width(), y % tile.height());
        EXPECT_EQ(wrong, 0) << ratio;
    }
}

TEST(Artwork, AnImageButtonShowsAFaceCentredAndCrisp)
{
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        const QImage face = ButtonGlyphImage(ButtonGlyph::ListRoms, ratio).convertToFormat(QImage::Format_ARGB32);
        ImageButton button(QStringLiteral("LIST ROMS"), QStringLiteral("Make list"));
        button.resize(101, 29);
        button.setFace(ButtonGlyphImage(ButtonGlyph::ListRoms, ratio));
        const QImage shot = RenderedAt(button, ratio);
        // The face's inked pixels land unchanged, on whole screen pixels, in the middle.
        const QSize logical = face.deviceIndependentSize().toSize();
        const QPoint at(int(std::round((101 - logical.width()) / 2 * ratio)),
                        int(std::round((29 - logical.height()) / 2 * ratio)));
        int inked = 0, same = 0;
        for (int y = 0; y < face.height(); ++y) {
            for (int x = 0; x < face.width(); ++x) {
                if (qAlpha(face.pixel(x, y)) == 255) {
                    ++inked;
                    same += shot.pixel(at + QPoint(x, y)) == face.pixel(x, y);
                }
            }
        }
        EXPECT_GT(inked, 50 * ratio * ratio);
        EXPECT_EQ(same, inked) << ratio;
    }
}

TEST(Artwork, TheDefaultPictureLiesBesideTheProgramAndFillsThePreview)
{
    const QString path =
        QFileInfo(qEnvironmentVariable("ROMDECK_BINARY")).dir().filePath(QStringLiteral("romdeck.bmp"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray header = file.read(30);
    ASSERT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(uchar(header[28]), 24) << "bits per pixel";
    const QImage picture = PictureLibLoad(QFile::encodeName(path).constData(), 0);
    EXPECT_EQ(picture.size(), QSize(303, 231));
    // Dark and quiet at the bottom, where the expected name and the pick
    // button lie over it in yellow.
    double worst = 100;
    for (int y = 195; y < 231; ++y)
        for (int x = 0; x < 303; ++x)
            worst = std::min(worst, Contrast(qRgb(255, 255, 0), picture.pixel(x, y)));
    EXPECT_GE(worst, 4.5);
}
