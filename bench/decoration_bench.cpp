// The decoration's costs. The link label's availability check, which runs as
// each label is created: reading the desktop's association lists in-process,
// on this machine's own database and on one with no default chosen and a
// mimeinfo.cache of 5,000 types (every list read to the end). And a full
// repaint of the main window's tiled background with the logo over it.

#include "platform/desktop_handlers.h"
#include "widgets/artwork.h"
#include "widgets/background_painting.h"
#include "widgets/logo_painting.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_WebCheckThisMachine(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DesktopOpensWebPages());
}
BENCHMARK(BM_WebCheckThisMachine)->Unit(benchmark::kMicrosecond);

void BM_WebCheckLargeCacheNoDefault(benchmark::State &state)
{
    QTemporaryDir root;
    const QString apps = root.filePath(QStringLiteral("share/applications"));
    QDir().mkpath(apps);
    QDir().mkpath(root.filePath(QStringLiteral("config")));
    QFile cache(apps + QStringLiteral("/mimeinfo.cache"));
    cache.open(QIODevice::WriteOnly);
    cache.write("[MIME Cache]\n");
    for (int i = 0; i < 5000; ++i)
        cache.write(QStringLiteral("application/x-type-%1=program%1.desktop;\n").arg(i).toUtf8());
    cache.close();
    const QByteArray saved[] = {qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_CONFIG_DIRS"), qgetenv("XDG_DATA_HOME"),
                                qgetenv("XDG_DATA_DIRS")};
    qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("share")).toUtf8());
    qputenv("XDG_DATA_DIRS", root.filePath(QStringLiteral("share")).toUtf8());
    for (auto _ : state)
        benchmark::DoNotOptimize(DesktopOpensWebPages());
    qputenv("XDG_CONFIG_HOME", saved[0]);
    qputenv("XDG_CONFIG_DIRS", saved[1]);
    qputenv("XDG_DATA_HOME", saved[2]);
    qputenv("XDG_DATA_DIRS", saved[3]);
}
BENCHMARK(BM_WebCheckLargeCacheNoDefault)->Unit(benchmark::kMicrosecond);

void BM_MainWindowBackgroundRepaint(benchmark::State &state)
{
    const QSize window(576, 425);
    QImage screen(window, QImage::Format_RGB32);
    const BackgroundLook tiled{TBackStyle::bgTileBitmap, Qt::white, Qt::black,
                               MainWindowTile().convertToFormat(QImage::Format_RGB32)};
    const QImage logo = MainWindowLogo();
    const LogoLook transparent{Qt::black, 0, Qt::gray, TDrawStyle::dsNone, TColorOption::coTransparent};
    for (auto _ : state) {
        QPainter painter(&screen);
        PaintBackground(painter, window, QRect(QPoint(0, 0), window), tiled);
        painter.translate(268, 8);
        PaintLogo(painter, QSize(153, 61), QRect(0, 0, 153, 61), logo, transparent);
    }
}
BENCHMARK(BM_MainWindowBackgroundRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
