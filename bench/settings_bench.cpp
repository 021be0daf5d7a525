// The settings file with 100 and 10,000 ROM sections: the reads of one
// selection (LoadRomOptions), also right after a save, Play's save
// (SaveSettings with a ROM section in Current mode, back to back), and their
// floors, one read of the file and one read plus one write of it.

#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "app/program_windows.h"
#include "settings/program_values.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QString SectionName(int i)
{
    return QStringLiteral("Sonic %1 (Europe).bin").arg(i, 5, 10, QLatin1Char('0'));
}

// romdeck.ini as years of use leave it: [General], [Default], then one
// section per ROM given options of its own (about 87 bytes each).
QByteArray SettingsWithRomSections(int sections)
{
    QByteArray text = "[General]\r\nroms=/home/me/roms\r\npix=/home/me/pix\r\nkgenloc=/opt/kgen/kgen.exe\r\n"
                      "geneloc=/opt/gene/genecyst.exe\r\ncdrom=/media/cdrom\r\noptshowing=1\r\n"
                      "[Default]\r\nusekgen=0\r\nfskip=1\r\ncountry=0\r\ndissound=0\r\nextracmdline=\r\n";
    for (int i = 0; i < sections; ++i)
        text += "[" + SectionName(i).toUtf8() + "]\r\nusekgen=" + QByteArray::number(i % 2) +
            "\r\nfskip=" + QByteArray::number(1 + i % 4) + "\r\ncountry=" + QByteArray::number(i % 4) +
            "\r\ndissound=" + QByteArray::number(i % 2) + "\r\nextracmdline=-x" + QByteArray::number(i % 7) + "\r\n";
    return text;
}

// The main window with romdeck.ini of `sections` ROM sections beside it. The
// file is left a few seconds old before the clock starts, as a settings file
// is when a user browses the list.
struct SettingsFixture
{
    explicit SettingsFixture(int sections) : sections(sections)
    {
        ProgramFolder = dir.path();
        PixFolder = dir.path();
        RomFolder = dir.path();
        file = SettingsWithRomSections(sections);
        QFile out(windows.Form1->SettingsFile());
        out.open(QIODevice::WriteOnly);
        out.write(file);
        out.close();
        std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    }

    QTemporaryDir dir;
    ProgramWindows windows;
    int sections;
    QByteArray file;
};

void BM_SelectionReads(benchmark::State &state)
{
    SettingsFixture fixture(int(state.range(0)));
    TForm1 &form = *fixture.windows.Form1;
    int i = 0;
    for (auto _ : state) {
        // Spread over the file, half of the sections holding options of their own.
        form.LoadRomOptions(SectionName(int((i++ * 7919L) % fixture.sections)));
    }
    state.counters["file_kib"] = double(fixture.file.size()) / 1024;
}
BENCHMARK(BM_SelectionReads)->Arg(100)->Arg(10000)->Iterations(500)->Unit(benchmark::kMicrosecond);

// The same within seconds of a save: until the file's times are old enough to
// tell a change, every read compares the file with what was written.
void BM_SelectionReadsAfterASave(benchmark::State &state)
{
    SettingsFixture fixture(int(state.range(0)));
    TForm1 &form = *fixture.windows.Form1;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DefaultOptions.extracmdline = QStringLiteral("-d%1").arg(i % 2);
        form.SaveSettings();
        state.ResumeTiming();
        form.LoadRomOptions(SectionName(int((i++ * 7919L) % fixture.sections)));
    }
}
BENCHMARK(BM_SelectionReadsAfterASave)->Arg(100)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

void BM_PlaySave(benchmark::State &state)
{
    SettingsFixture fixture(int(state.range(0)));
    TForm1 &form = *fixture.windows.Form1;
    romobj object;
    object.putrominfo(rom_info{QFile::encodeName(fixture.dir.filePath(SectionName(fixture.sections / 2))), QByteArray()});
    form.lstdir->addItem(QStringLiteral("Sonic"), object);
    form.lstdir->setItemIndex(0);
    form.panopt->putCurrentDown();
    int i = 0;
    for (auto _ : state) {
        // Every save changes a value, so every save writes the file.
        form.panopt->setValues(OptionSet{1, 3, 2, true, QStringLiteral("-v%1").arg(i++ % 2)});
        form.SaveSettings();
    }
    state.counters["file_kib"] = double(fixture.file.size()) / 1024;
}
BENCHMARK(BM_PlaySave)->Arg(100)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

// Reads the file straight into a string of its size.
std::string ReadWhole(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    fstat(fd, &info);
    std::string contents(size_t(info.st_size), '\0');
    size_t length = 0;
    for (ssize_t n; length < contents.size() && (n = read(fd, contents.data() + length, contents.size() - length)) > 0;)
        length += size_t(n);
    close(fd);
    contents.resize(length);
    return contents;
}

void BM_FloorRead(benchmark::State &state)
{
    SettingsFixture fixture(int(state.range(0)));
    const std::string path = QFile::encodeName(fixture.windows.Form1->SettingsFile()).toStdString();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWhole(path));
}
BENCHMARK(BM_FloorRead)->Arg(100)->Arg(10000)->Iterations(500)->Unit(benchmark::kMicrosecond);

// One read plus one write of the file; the durable form also syncs the data,
// as any write that must survive a power cut does.
void FloorReadWrite(benchmark::State &state, bool durable)
{
    SettingsFixture fixture(int(state.range(0)));
    const std::string path = QFile::encodeName(fixture.windows.Form1->SettingsFile()).toStdString();
    const std::string copy = path + ".copy";
    for (auto _ : state) {
        const std::string contents = ReadWhole(path);
        const int fd = open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(write(fd, contents.data(), contents.size()));
        if (durable)
            fsync(fd);
        close(fd);
    }
}

void BM_FloorReadWrite(benchmark::State &state)
{
    FloorReadWrite(state, false);
}
BENCHMARK(BM_FloorReadWrite)->Arg(100)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

void BM_FloorReadWriteSynced(benchmark::State &state)
{
    FloorReadWrite(state, true);
}
BENCHMARK(BM_FloorReadWriteSynced)->Arg(100)->Arg(10000)->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace
