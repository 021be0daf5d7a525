// Loading a PCX picture through the picture library, from its file, against
// the floor that no decoder can beat: one read of the same file and one pass
// that writes every pixel of a picture of the same size and format. The two
// run in turn, iteration by iteration, so that a drift of the machine's speed
// moves both; x_floor is their ratio. The figures are a report, not a goal: a
// decode takes a small part of one frame of a selection change. Pictures of
// 320 x 224 and 640 x 480, 256 colours and true colour, as a game snapshot
// looks: flat sky, tiled ground, noisy sprites.
//
// Also a selection of a picture whose file claims a huge size, shown as the
// preview panel shows it (stretched into a label of 303 x 231 pixels): the
// goal is under 200 MB of memory for the whole process (aim: 120 MB) and
// under 300 ms, whatever a file claims or holds, up to the largest file read
// at all (256 MB, whose bytes are never held whole). As in the panel, the
// label lets the last selection's picture go before the next one loads.
// peak_MiB is the process's peak resident memory during the selection,
// added_MiB that peak less what it held before.
//
//   picture_bench                         runs the benchmarks
//   picture_bench --write-pictures DIR    writes the four pictures into DIR,
//                                         for timing other decoders on them

#include "platform/read_only_file.h"
#include "preview/pcx_decoder.h"
#include "preview/picture_lib.h"
#include "support/bmp_files.h"
#include "support/pcx_files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

struct Picture
{
    const char *name;
    bool trueColour;
    int width;
    int height;
};

constexpr Picture kPictures[] = {
    {"paletted_320x224.pcx", false, 320, 224},
    {"paletted_640x480.pcx", false, 640, 480},
    {"truecolour_320x224.pcx", true, 320, 224},
    {"truecolour_640x480.pcx", true, 640, 480},
};

// One channel of a snapshot: the upper third sky (one value per band of
// lines), the rest 16-pixel tiles with some detail, and noisy 24 x 32 sprites.
int Channel(int x, int y, int height, int salt)
{
    if (y < height / 3)
        return (y / 4 * 3 + salt) & 0xFF;
    if ((x / 24) % 5 == 2 && (y / 32) % 3 == 1)
        return int((unsigned(x * 7919 + y * 104729 + salt) * 2654435761u) >> 24);
    return (((x / 16 + y / 16) % 6) * 40 + ((x ^ y) & 4) * 8 + salt) & 0xFF;
}

QByteArray PcxFile(const Picture &picture)
{
    pcx_files::Layout layout{.planes = picture.trueColour ? 3 : 1, .width = picture.width, .height = picture.height};
    const int lineBytes = layout.lineBytes();
    QByteArray lines(qsizetype(lineBytes) * layout.planes * picture.height, '\0');
    for (int y = 0; y < picture.height; ++y)
        for (int plane = 0; plane < layout.planes; ++plane)
            for (int x = 0; x < picture.width; ++x)
                lines[(qsizetype(y) * layout.planes + plane) * lineBytes + x] =
                    char(Channel(x, y, picture.height, plane * 85));
    QByteArray colours;
    if (!picture.trueColour) {
        for (int i = 0; i < 256; ++i) {
            colours += char(i);
            colours += char(255 - i);
            colours += char(i * 3);
        }
    }
    return pcx_files::File(layout, lines, false, colours);
}

bool WritePictures(const QString &folder)
{
    for (const Picture &picture : kPictures) {
        QFile file(QDir(folder).filePath(picture.name));
        const QByteArray bytes = PcxFile(picture);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

QTemporaryDir &Pictures()
{
    static QTemporaryDir folder;
    static const bool written = WritePictures(folder.path());
    (void)written;
    return folder;
}

QByteArray PathOf(const Picture &picture)
{
    return QFile::encodeName(Pictures().filePath(picture.name));
}

// One read of the whole file and one pass writing every output pixel, in the
// format the library gives pictures in: the one they are shown in.
qint64 Floor(const QByteArray &path, const Picture &picture)
{
    ReadOnlyFile file(path);
    QByteArray bytes(file.size(), Qt::Uninitialized);
    file.readAt(0, bytes.data(), int(bytes.size()));
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    std::memset(image.bits(), bytes[bytes.size() / 2], size_t(image.sizeInBytes()));
    return image.cacheKey();
}

void BM_LoadAgainstFloor(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const Picture &picture = kPictures[state.range(0)];
    const QByteArray path = PathOf(picture);
    if (PictureLibLoad(path, 0).size() != QSize(picture.width, picture.height)) {
        state.SkipWithError("the picture does not decode");
        return;
    }
    double loadSeconds = 0;
    double floorSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(PictureLibLoad(path, 0));
        const auto loaded = Clock::now();
        benchmark::DoNotOptimize(Floor(path, picture));
        const auto floored = Clock::now();
        const double load = std::chrono::duration<double>(loaded - start).count();
        state.SetIterationTime(load);
        loadSeconds += load;
        floorSeconds += std::chrono::duration<double>(floored - loaded).count();
    }
    state.SetLabel(picture.name);
    state.counters["floor_us"] = floorSeconds * 1e6 / double(state.iterations());
    state.counters["x_floor"] = loadSeconds / floorSeconds;
}

// The decoder alone, on bytes already in memory.
void BM_DecodeInMemory(benchmark::State &state)
{
    const Picture &picture = kPictures[state.range(0)];
    const QByteArray bytes = PcxFile(picture);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodePcx(bytes));
    state.SetLabel(picture.name);
    state.SetBytesProcessed(qint64(state.iterations()) * bytes.size());
}

struct HugeClaim
{
    const char *name;
    QByteArray (*file)();
};

// A flat picture in one colour, its runs going on over line ends: about 32
// bytes of file for every kilobyte it claims.
QByteArray FlatPcx(const pcx_files::Layout &layout)
{
    const qint64 bytes = qint64(layout.lineBytes()) * layout.planes * layout.height;
    QByteArray file = pcx_files::Header(layout) + QByteArray("\xFF\x00", 2).repeated(bytes / 63);
    if (bytes % 63 != 0)
        file += char(0xC0 | bytes % 63) + QByteArray(1, '\0');
    return file;
}

// An uncompressed picture in one grey, as large as a file that is read at all.
QByteArray UncompressedPcx(const pcx_files::Layout &layout)
{
    QByteArray file = pcx_files::Header(layout);
    file.append(qsizetype(layout.lineBytes()) * layout.planes * layout.height, '\x55');
    return file;
}

// A BMP file of the largest size that is read at all, whose header claims a
// picture too large to decode.
QByteArray RefusedBmp()
{
    QByteArray file = bmp_files::RunLengthClaim(16384, 16384);
    file.append((qsizetype(256) << 20) - file.size(), '\0');
    return file;
}

const HugeClaim kHugeClaims[] = {
    {"1-bit 16384 x 16384 PCX", [] { return FlatPcx({.bitsPerPixel = 1, .width = 16384, .height = 16384}); }},
    {"8-bit 16384 x 16384 PCX", [] { return FlatPcx({.width = 16384, .height = 16384}); }},
    {"run-length BMP 8192 x 2048", [] { return bmp_files::RunLengthClaim(8192, 2048); }},
    {"run-length BMP 8192 x 4096", [] { return bmp_files::RunLengthClaim(8192, 4096); }},
    {"8-bit 4096 x 4096 PCX, the largest shown whole", [] { return FlatPcx({.width = 4096, .height = 4096}); }},
    {"256 MB BMP claiming 16384 x 16384", RefusedBmp},
    // The widest lines a header can hold: 65535 bytes.
    {"uncompressed 8-bit 65535 x 3900 PCX",
     [] { return UncompressedPcx({.runLength = false, .width = 65535, .height = 3900, .bytesPerLine = 65535}); }},
    {"8-bit 65535 x 65535 PCX",
     [] { return FlatPcx({.width = 65535, .height = 65535, .bytesPerLine = 65535}); }},
};

// A memory figure of this process in MiB: VmRSS, resident now, or VmHWM, the
// peak since it was last reset.
double StatusMiB(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QString("^%1:\\s+(\\d+) kB").arg(field), QRegularExpression::MultilineOption);
    return line.match(QString::fromLatin1(status.readAll())).captured(1).toDouble() / 1024;
}

bool ResetPeakMemory()
{
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

void BM_ShowHugeClaim(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const HugeClaim &claim = kHugeClaims[state.range(0)];
    const QString path = Pictures().filePath(QString("claim%1").arg(state.range(0)));
    qint64 fileBytes = 0;
    {
        // Not held while it is shown: the file's bytes are no part of the measure.
        const QByteArray bytes = claim.file();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
            state.SkipWithError("the file cannot be written");
            return;
        }
        fileBytes = bytes.size();
    }
    const QByteArray name = QFile::encodeName(path);
    QLabel panel;
    panel.resize(303, 231);
    panel.setScaledContents(true);
    double peak = 0;
    double added = 0;
    for (auto _ : state) {
        const double before = StatusMiB("VmRSS");
        if (!ResetPeakMemory()) {
            state.SkipWithError("the peak memory cannot be measured here");
            return;
        }
        const auto start = Clock::now();
        panel.clear();
        panel.setPixmap(QPixmap::fromImage(PictureLibLoad(name, 0)));
        benchmark::DoNotOptimize(panel.grab());
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        const double now = StatusMiB("VmHWM");
        peak = std::max(peak, now);
        added = std::max(added, now - before);
    }
    state.SetLabel(QString("%1, %2 KiB file, shown %3 x %4")
                       .arg(claim.name)
                       .arg(fileBytes / 1024)
                       .arg(panel.pixmap().width())
                       .arg(panel.pixmap().height())
                       .toStdString());
    state.counters["peak_MiB"] = peak;
    state.counters["added_MiB"] = added;
}

} // namespace

BENCHMARK(BM_LoadAgainstFloor)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeInMemory)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowHugeClaim)->DenseRange(0, 7)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-pictures") == 0)
        return WritePictures(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    // The preview's label needs an application and a screen; the offscreen
    // platform gives them without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
