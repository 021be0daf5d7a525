// The ROM list window with a main list of up to 100,000 entries: filling the
// table (events run after every row, the shown window repaints at its pace)
// against its floor, building the same rows in a vector, and beside the cost
// of letting events run once per row alone; and the export of
// 100,000 rows against its floor, one write of the same bytes. Sorting the
// table by a click is measured by sortablegrid_bench.

#include "catalogue/sorted_rom_list.h"
#include "listexport/rom_list_window.h"
#include "platform/paths.h"
#include "platform/windows1252.h"
#include "settings/program_values.h"
#include "widgets/sortablegrid/sortable_grid.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kMaxRows = 100000;

// A main list of n entries as the scan leaves them: a short path and a title.
std::unique_ptr<SortedRomList> MainList(int n)
{
    auto list = std::make_unique<SortedRomList>();
    for (int i = 0; i < n; ++i) {
        const QByteArray title = "GAME TITLE NUMBER " + QByteArray::number(1000000 + i);
        romobj object;
        object.putrominfo(rom_info{"/roms/G" + QByteArray::number(1000000 + i) + ".BIN", title});
        list->add(QString::fromLatin1(title), object);
    }
    return list;
}

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The shown window over a main list of n entries, filled once by its showing.
struct ShownWindow
{
    explicit ShownWindow(int n) : list(MainList(n)), window(*list)
    {
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    std::unique_ptr<SortedRomList> list;
    Tformlistroms window;
};

void BM_Fill(benchmark::State &state)
{
    const int n = int(state.range(0));
    ShownWindow shown(n);
    PaintCounter counter;
    shown.window.romgrid->viewport()->installEventFilter(&counter);
    for (auto _ : state)
        shown.window.FormActivate();
    if (shown.window.romgrid->RowCount() != n + 1)
        state.SkipWithError("the table was not filled");
    state.SetComplexityN(n);
    state.counters["paints_per_fill"] = double(counter.paints) / double(state.iterations());
    state.counters["ns_per_row"] = benchmark::Counter(double(n) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The fill's floor: the same rows, read from the same main list, in a vector.
void BM_FillFloor(benchmark::State &state)
{
    const int n = int(state.range(0));
    const std::unique_ptr<SortedRomList> list = MainList(n);
    for (auto _ : state) {
        std::vector<QStringList> rows{{"File Name", "English Name", "Jap Name"}};
        for (int i = 0; i < list->count(); ++i) {
            rom_info info;
            list->at(i).object.getrominfo(info);
            rows.push_back({FileNamePart(info.filename), DecodeWindows1252(info.engname), QString()});
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetComplexityN(n);
}

// What the fill cannot go below besides the rows: letting events run once per
// row, with the window shown and nothing to do.
void BM_EventsPerRow(benchmark::State &state)
{
    const int n = int(state.range(0));
    ShownWindow shown(0);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i)
            QCoreApplication::processEvents();
    }
    state.SetComplexityN(n);
}

// The export as the save button runs it, and the floor.
struct ExportFixture
{
    ExportFixture() : shown(kMaxRows)
    {
        ProgramFolder = folder.path();
        shown.window.butsaveasfileClick();
        QFile written(folder.filePath("Genroms.txt"));
        if (written.open(QIODevice::ReadOnly))
            bytes = written.readAll();
    }
    QTemporaryDir folder;
    ShownWindow shown;
    QByteArray bytes;
};

// Built once, and gone before the application object: its window cannot
// outlive it, so it is deleted by one of the application's own last routines.
ExportFixture *exportFixture = nullptr;

ExportFixture &Export()
{
    if (!exportFixture) {
        exportFixture = new ExportFixture;
        qAddPostRoutine([] {
            delete exportFixture;
            exportFixture = nullptr;
        });
    }
    return *exportFixture;
}

void BM_Export(benchmark::State &state)
{
    ExportFixture &fixture = Export();
    for (auto _ : state)
        fixture.shown.window.butsaveasfileClick();
    state.SetBytesProcessed(qint64(state.iterations()) * fixture.bytes.size());
}

void BM_ExportFloor(benchmark::State &state)
{
    ExportFixture &fixture = Export();
    const QString path = fixture.folder.filePath("floor.txt");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
            file.write(fixture.bytes) != fixture.bytes.size()) {
            state.SkipWithError("cannot write the floor file");
            break;
        }
    }
    state.SetBytesProcessed(qint64(state.iterations()) * fixture.bytes.size());
}

} // namespace

BENCHMARK(BM_Fill)
    ->Arg(kMaxRows / 8)
    ->Arg(kMaxRows / 4)
    ->Arg(kMaxRows / 2)
    ->Arg(kMaxRows)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_FillFloor)
    ->Arg(kMaxRows / 8)
    ->Arg(kMaxRows / 4)
    ->Arg(kMaxRows / 2)
    ->Arg(kMaxRows)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_EventsPerRow)->Arg(kMaxRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFloor)->Unit(benchmark::kMillisecond);
