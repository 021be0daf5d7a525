#include "widgets/artwork.h"
#include "widgets/background.h"
#include "widgets/logo_bitmap.h"

#include <QApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QRgb kUntouched = qRgb(1, 2, 3);

// A canvas with a margin round the control, so that paint outside it shows.
struct Canvas
{
    static constexpr int kMargin = 5;
    explicit Canvas(QSize control)
        : control(control), image(control + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32)
    {
        image.fill(kUntouched);
    }
    template <typename Paint>
    void paint(const QRect &area, Paint paintArea)
    {
        QPainter painter(&image);
        painter.translate(kMargin, kMargin);
        paintArea(painter, area);
    }
    QRgb at(int x, int y) const { return image.pixel(x + kMargin, y + kMargin); }
    bool marginUntouched() const
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (!QRect(kMargin, kMargin, control.width(), control.height()).contains(x, y) &&
                    image.pixel(x, y) != kUntouched)
                    return false;
        return true;
    }
    QSize control;
    QImage image;
};

// Paints the control whole, then in random pieces and random overlapping
// repaints, and expects the same pixels.
template <typename Paint>
void ExpectPiecesMatchWhole(QSize control, Paint paintArea, const QImage &under = {})
{
    Canvas whole(control), pieces(control);
    if (!under.isNull()) {
        whole.image = under;
        pieces.image = under;
    }
    whole.paint(QRect(QPoint(0, 0), control), paintArea);
    QRandomGenerator random(7);
    QList<int> xs{0, control.width()}, ys{0, control.height()};
    for (int i = 0; i < 6; ++i) {
        xs << random.bounded(control.width());
        ys << random.bounded(control.height());
    }
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    for (int j = ys.size() - 2; j >= 0; --j)
        for (int i = 0; i + 1 < xs.size(); ++i)
            pieces.paint(QRect(QPoint(xs[i], ys[j]), QPoint(xs[i + 1] - 1, ys[j + 1] - 1)), paintArea);
    for (int i = 0; i < 10; ++i) {
        const int x = random.bounded(control.width()), y = random.bounded(control.height());
        pieces.paint(QRect(x, y, random.bounded(1, 80), random.bounded(1, 80)), paintArea);
    }
    EXPECT_TRUE(whole.image == pieces.image);
    EXPECT_TRUE(whole.marginUntouched());
}

QImage NumberedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 4 % 256, y * 4 % 256, (x + y) % 256));
    return picture;
}

auto Background(QSize control, const BackgroundLook &look)
{
    return [control, look](QPainter &painter, const QRect &area) { PaintBackground(painter, control, area, look); };
}

auto Logo(QSize control, const QImage &picture, const LogoLook &look)
{
    return [control, picture, look](QPainter &painter, const QRect &area) {
        PaintLogo(painter, control, area, picture, look);
    };
}

} // namespace

TEST(BackgroundPainting, EveryStylePaintsTheSamePixelsWholeOrInPieces)
{
    const QSize control(200, 150);
    const QImage tile = MainWindowTile();
    for (TBackStyle style :
         {TBackStyle::bgSingleColor, TBackStyle::bgSmooth, TBackStyle::bgSingleBitmap, TBackStyle::bgTileBitmap}) {
        SCOPED_TRACE(int(style));
        ExpectPiecesMatchWhole(control, Background(control, {style, QColor(10, 200, 30), QColor(250, 3, 77), tile}));
    }
}

TEST(BackgroundPainting, ColoursGradientAndPicturesFollowTheControlsCoordinates)
{
    // Gradient rows: c1 + (c2 - c1) * y / height, halves to even.
    const QSize control(3, 2);
    Canvas smooth(control);
    smooth.paint(QRect(0, 1, 3, 1),
                 Background(control, {TBackStyle::bgSmooth, QColor(0, 0, 0), QColor(255, 1, 3), {}}));
    EXPECT_EQ(smooth.at(0, 0), kUntouched);
    EXPECT_EQ(smooth.at(2, 1), qRgb(128, 0, 2));
    smooth.paint(QRect(0, 0, 3, 1), Background(control, {TBackStyle::bgSmooth, QColor(9, 9, 9), QColor(0, 0, 0), {}}));
    EXPECT_EQ(smooth.at(1, 0), qRgb(9, 9, 9));

    // Tiles: every pixel is the tile's pixel at (x mod 63, y mod 63), across
    // every multiple of 63.
    const QImage tile = DialogTile();
    const QSize big(300, 200);
    Canvas tiled(big);
    tiled.paint(QRect(QPoint(0, 0), big), Background(big, {TBackStyle::bgTileBitmap, Qt::white, Qt::black, tile}));
    int mismatches = 0;
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            mismatches += tiled.at(x, y) != tile.pixel(x % 63, y % 63);
    EXPECT_EQ(mismatches, 0);

    // A single picture lies unscaled at the control's corner; beyond it
    // nothing is painted.
    Canvas single(big);
    const QImage picture = NumberedPicture(40, 30);
    single.paint(QRect(20, 10, 200, 100), Background(big, {TBackStyle::bgSingleBitmap, Qt::white, Qt::black, picture}));
    EXPECT_EQ(single.at(39, 29), picture.pixel(39, 29));
    EXPECT_EQ(single.at(19, 29), kUntouched);
    EXPECT_EQ(single.at(40, 20), kUntouched);
}

TEST(BackgroundPainting, EmptyPicturesAndOddAreasPaintNothingOutsideTheControl)
{
    const QSize control(50, 40);
    for (TBackStyle style : {TBackStyle::bgSingleBitmap, TBackStyle::bgTileBitmap}) {
        for (const QImage &empty : {QImage(), QImage(0, 0, QImage::Format_Indexed8)}) {
            Canvas canvas(control);
            canvas.paint(QRect(0, 0, 50, 40), Background(control, {style, Qt::red, Qt::blue, empty}));
            EXPECT_TRUE(canvas.image == Canvas(control).image);
        }
    }
    for (TBackStyle style : {TBackStyle::bgSingleColor, TBackStyle::bgSmooth, TBackStyle::bgTileBitmap}) {
        Canvas canvas(control);
        const BackgroundLook look{style, Qt::red, Qt::blue, MainWindowTile()};
        canvas.paint(QRect(10, 10, 0, 0), Background(control, look));
        canvas.paint(QRect(-100000, -100000, 100000, 100000), Background(control, look));
        EXPECT_EQ(canvas.at(0, 0), kUntouched);
        canvas.paint(QRect(-20, -30, 40, 50), Background(control, look));
        canvas.paint(QRect(45, 35, 1 << 29, 1 << 29), Background(control, look));
        EXPECT_NE(canvas.at(0, 0), kUntouched);
        EXPECT_NE(canvas.at(49, 39), kUntouched);
        EXPECT_EQ(canvas.at(20, 20), kUntouched);
        EXPECT_TRUE(canvas.marginUntouched());
        Canvas none(QSize(0, 0));
        none.paint(QRect(0, 0, 10, 10), Background(QSize(0, 0), look));
        EXPECT_TRUE(none.marginUntouched());
    }
}

TEST(LogoPainting, TransparentLogoShowsTheBackgroundExactlyWhereItIsBlack)
{
    // The About window's arrangement: a 293 x 109 control over the tile.
    const QSize control(293, 109);
    const QImage logo = AboutLogo();
    Canvas background(control);
    background.paint(QRect(QPoint(0, 0), control),
                     Background(control, {TBackStyle::bgTileBitmap, Qt::white, Qt::black, DialogTile()}));
    const LogoLook look{Qt::black, 0, Qt::gray, TDrawStyle::dsNone, TColorOption::coTransparent};
    ExpectPiecesMatchWhole(control, Logo(control, logo, look), background.image);

    Canvas drawn = background;
    drawn.paint(QRect(QPoint(0, 0), control), Logo(control, logo, look));
    int wrong = 0, seeThrough = 0;
    for (int y = 0; y < control.height(); ++y) {
        for (int x = 0; x < control.width(); ++x) {
            const bool inLogo = logo.rect().contains(x, y);
            const bool black =
                inLogo && qRed(logo.pixel(x, y)) + qGreen(logo.pixel(x, y)) + qBlue(logo.pixel(x, y)) == 0;
            const QRgb expected = inLogo && !black ? logo.pixel(x, y) : background.at(x, y);
            wrong += drawn.at(x, y) != expected;
            seeThrough += black;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(seeThrough, logo.width() * logo.height() / 4);
}

TEST(LogoPainting, FrameDestinationsAndColourOptions)
{
    // Centring rounds halves to the even neighbour, also left of the corner.
    EXPECT_EQ(LogoDestination({10, 10}, {7, 5}, 3, TDrawStyle::dsCentered), QRect(2, 2, 7, 5));
    EXPECT_EQ(LogoDestination({11, 4}, {4, 11}, 0, TDrawStyle::dsCentered), QRect(4, -4, 4, 11));
    EXPECT_EQ(LogoDestination({100, 50}, {7, 5}, 2, TDrawStyle::dsClient), QRect(2, 2, 94, 44));
    EXPECT_EQ(LogoDestination({100, 50}, {7, 5}, 2, TDrawStyle::dsNone), QRect(2, 2, 7, 5));

    // Border 3 on 12 x 8: rows and columns 0-2 at the top and left, the last
    // two at the bottom and right; white inside, nothing drawn outside.
    const QSize control(12, 8);
    Canvas framed(control);
    framed.paint(QRect(0, 0, 12, 8),
                 Logo(control, {}, {Qt::black, 3, Qt::gray, TDrawStyle::dsNone, TColorOption::coNone}));
    QString rows;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x)
            rows += framed.at(x, y) == qRgb(0, 0, 0) ? u'#' : framed.at(x, y) == qRgb(255, 255, 255) ? u'.' : u'?';
        rows += u'|';
    }
    EXPECT_EQ(rows,
              QStringLiteral("############|############|############|###.......##|"
                             "###.......##|###.......##|############|############|"));
    EXPECT_TRUE(framed.marginUntouched());

    // Blend colour replaces BackColor inside the stretched picture.
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 255));
    picture.setPixel(1, 0, qRgb(9, 9, 9));
    const QSize wide(4, 1);
    Canvas blended(wide);
    blended.paint(
        QRect(0, 0, 4, 1),
        Logo(wide, picture, {QColor(0, 0, 255), 0, Qt::green, TDrawStyle::dsClient, TColorOption::coBlendColor}));
    EXPECT_EQ(blended.at(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(blended.at(2, 0), qRgb(9, 9, 9));
    ExpectPiecesMatchWhole(
        {150, 90},
        Logo({150, 90}, MainWindowLogo(), {Qt::black, 4, Qt::gray, TDrawStyle::dsClient, TColorOption::coNone}));
}

TEST(LogoPainting, DegenerateSizesNeverCrashOrPaintOutside)
{
    const QImage pictures[] = {QImage(), QImage(0, 0, QImage::Format_RGB32), MainWindowLogo()};
    for (const QImage &picture : pictures) {
        for (QSize control : {QSize(0, 0), QSize(5, 5), QSize(1, 30), QSize(60, 20)}) {
            for (TDrawStyle style : {TDrawStyle::dsNone, TDrawStyle::dsClient, TDrawStyle::dsCentered}) {
                for (TColorOption option :
                     {TColorOption::coNone, TColorOption::coBlendColor, TColorOption::coTransparent}) {
                    Canvas canvas(control);
                    const LogoLook look{Qt::black, 9, Qt::gray, style, option};
                    for (const QRect &area : {QRect(0, 0, 0, 0), QRect(-50, -50, 1 << 20, 1 << 20), QRect(3, -2, 4, 4)})
                        canvas.paint(area, Logo(control, picture, look));
                    EXPECT_TRUE(canvas.marginUntouched());
                }
            }
        }
    }
}

TEST(DecorationControls, DefaultsSettersAndTheirPaintingOnAWindow)
{
    QWidget window;
    window.resize(130, 70);
    auto *background = new TBackground(&window);
    window.show();
    EXPECT_EQ(background->size(), QSize(144, 144));
    EXPECT_EQ(background->Color1(), QColor(Qt::white));
    EXPECT_EQ(background->Color2(), QColor(Qt::black));
    EXPECT_EQ(background->BackStyle(), TBackStyle::bgSingleColor);
    EXPECT_TRUE(background->Picture().isNull());

    // Filling the client area as the window resizes, showing the tile.
    const QImage tile = MainWindowTile();
    background->setAlign(TAlign::alClient);
    background->setPicture(tile);
    background->setBackStyle(TBackStyle::bgTileBitmap);
    window.resize(140, 90);
    EXPECT_EQ(background->geometry(), QRect(0, 0, 140, 90));
    QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(100, 80), tile.pixel(100 - 63, 80 - 63));
    background->setBackStyle(TBackStyle::bgSingleColor);
    background->setColor1(QColor(200, 0, 9));
    shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(139, 89), qRgb(200, 0, 9));

    // The logo: defaults, BackColor from the picture's corner, auto size.
    auto *logo = new TLogoBitmap(&window);
    EXPECT_EQ(logo->size(), QSize(64, 64));
    EXPECT_EQ(logo->Border(), 2);
    EXPECT_EQ(logo->BlendColor(), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(logo->BackColor(), QColor(Qt::black));
    EXPECT_EQ(logo->ColorOption(), TColorOption::coNone);
    EXPECT_EQ(logo->DrawStyle(), TDrawStyle::dsNone);
    EXPECT_FALSE(logo->AutoSize());
    QImage picture = NumberedPicture(30, 20);
    picture.setPixel(0, 0, qRgb(7, 8, 9));
    logo->setPicture(picture);
    EXPECT_EQ(logo->BackColor(), QColor(7, 8, 9));
    EXPECT_EQ(logo->size(), QSize(64, 64));
    logo->setAutoSize(true);
    EXPECT_EQ(logo->size(), QSize(34, 24));
    logo->setBorder(12);
    EXPECT_EQ(logo->Border(), 9);
    EXPECT_EQ(logo->size(), QSize(48, 38));
    logo->loadStoredPicture(MainWindowLogo());
    EXPECT_EQ(logo->BackColor(), QColor(7, 8, 9));
    EXPECT_EQ(logo->size(), QSize(48, 38));
}

TEST(DecorationControls, MouseEventsAreReportedAsAWindowsControlDoes)
{
    QWidget window;
    window.resize(100, 100);
    auto *background = new TBackground(&window);
    int clicks = 0, doubleClicks = 0, downs = 0, ups = 0;
    QObject::connect(background, &LightControl::clicked, [&] { ++clicks; });
    QObject::connect(background, &LightControl::doubleClicked, [&] { ++doubleClicks; });
    QObject::connect(background, &LightControl::mouseDown, [&] { ++downs; });
    QObject::connect(background, &LightControl::mouseUp, [&] { ++ups; });
    window.show();
    QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(background, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    // A double click: press, release, the double-click press, release. Its
    // second release is no click.
    QTest::mouseClick(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubleClicks, 1);
    // A release away from the control is no click.
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, 5);
    EXPECT_EQ(ups, 5);

    auto *logo = new TLogoBitmap(&window);
    bool started = false, ended = false;
    QObject::connect(logo, &TLogoBitmap::startDrag, [&] { started = !ended; });
    QObject::connect(logo, &TLogoBitmap::endDrag, [&](bool dropped) { ended = !dropped; });
    logo->beginDrag();
    EXPECT_TRUE(started && ended);
}
