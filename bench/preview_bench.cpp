// A selection change in the main list (the ROM's options, the picture lookup,
// the decode, the panel painted) with 10,000 ROMs listed, against a picture
// folder of 50,000 files and one of 10 files. The goal: the large folder costs
// at most 2 times the small one. The same ten pictures (320 x 224, 256
// colours) are found in both; every other selection shows the default picture.
//
// Also the Down key held through the list: the time per key press, which must
// stay well below a key repeat (about 30 ms).

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "settings/program_values.h"
#include "support/pcx_files.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRoms = 10000;
constexpr int kPictures = 10;

QByteArray SnapshotPicture(int seed)
{
    pcx_files::Layout layout;
    layout.width = 320;
    layout.height = 224;
    QByteArray lines(qsizetype(layout.lineBytes()) * layout.height, '\0');
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = char(((i / 7) * 13 + seed) & 0x3F); // short runs, as snapshots have
    QByteArray palette(768, '\0');
    for (int i = 0; i < 768; ++i)
        palette[i] = char(i * 5);
    return pcx_files::File(layout, lines, false, palette);
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The program's windows over 10,000 listed ROMs and a picture folder holding
// the ten pictures plus `otherFiles` files of other names.
struct Collection
{
    explicit Collection(int otherFiles)
    {
        QDir(dir.path()).mkpath(QStringLiteral("pix"));
        const QString pix = dir.filePath(QStringLiteral("pix"));
        for (int i = 0; i < kPictures; ++i)
            Write(pix + QStringLiteral("/game%1.pcx").arg(i), SnapshotPicture(i));
        for (int i = 0; i < otherFiles; ++i)
            Write(pix + QStringLiteral("/other%1.pcx").arg(i), QByteArray());
        QImage(303, 231, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("romdeck.bmp")), "BMP");
        ProgramFolder = dir.path();
        PixFolder = pix;
        windows = std::make_unique<ProgramWindows>();
        TForm1 &form = *windows->Form1;
        for (int i = 0; i < kRoms; ++i) {
            romobj object;
            object.putrominfo(rom_info{"/roms/GAME" + QByteArray::number(i) + ".BIN", QByteArray()});
            form.lstdir->addItem(QStringLiteral("GAME %1").arg(i, 5, 10, QLatin1Char('0')), object);
        }
        // Not shown: a first activation would load the settings of its own.
        form.butpixClick();
    }

    QTemporaryDir dir;
    std::unique_ptr<ProgramWindows> windows;
};

// Made after the application object and gone before it.
Collection *SmallFolder = nullptr;
Collection *LargeFolder = nullptr;

Collection &Small()
{
    return *SmallFolder;
}

Collection &Large()
{
    return *LargeFolder;
}

void SelectAndShow(benchmark::State &state, Collection &collection)
{
    TForm1 &form = *collection.windows->Form1;
    PixFolder = collection.dir.filePath(QStringLiteral("pix"));
    ProgramFolder = collection.dir.path();
    int step = 0;
    for (auto _ : state) {
        // GAME0..GAME9 have pictures; the rows between them have none.
        const int row = (step++ % (2 * kPictures)) * 1111 / 2;
        form.lstdir->setItemIndex(row);
        form.lstdirClick();
        benchmark::DoNotOptimize(form.pix->grab());
    }
}

void BM_SelectionSmallFolder(benchmark::State &state)
{
    SelectAndShow(state, Small());
}

void BM_SelectionLargeFolder(benchmark::State &state)
{
    SelectAndShow(state, Large());
}

void BM_DownKeyHeld(benchmark::State &state)
{
    Collection &collection = Large();
    TForm1 &form = *collection.windows->Form1;
    PixFolder = collection.dir.filePath(QStringLiteral("pix"));
    ProgramFolder = collection.dir.path();
    form.lstdir->setItemIndex(0);
    for (auto _ : state) {
        if (form.lstdir->itemIndex() == form.lstdir->count() - 1)
            form.lstdir->setItemIndex(0);
        QTest::keyClick(form.lstdir, Qt::Key_Down);
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_SelectionSmallFolder)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_SelectionLargeFolder)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_DownKeyHeld)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    {
        Collection small(kPictures);
        Collection large(50000 - kPictures);
        // Past the folders' settling time, as for a collection in daily use.
        QThread::msleep(2100);
        SmallFolder = &small;
        LargeFolder = &large;
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
