// Sorting 100,000 rows of the sortable grid by a header click, by a text, a
// number and a date column, against the floor: std::stable_sort of the same
// (key, row index) pairs plus moving the rows into their new order.

#include "widgets/sortablegrid/sort_key_reader.h"
#include "widgets/sortablegrid/sortable_grid.h"

#include <QApplication>
#include <QDate>
#include <QMouseEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kRows = 100000;
const QLocale kLocale(QLocale::English, QLocale::UnitedStates);

// Sizes as a user types them: without group separators.
QString SizeText(double size)
{
    QLocale locale = kLocale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(size, 'f', 2);
}

// Header row "Title", "Size", "Date" and kRows rows of random values.
std::vector<QStringList> MakeRows()
{
    std::mt19937 random(2024);
    std::vector<QStringList> rows{{"Title", "Size", "Date"}};
    rows.reserve(kRows + 1);
    for (int i = 0; i < kRows; ++i) {
        QString title;
        const int length = 8 + int(random() % 24);
        for (int k = 0; k < length; ++k)
            title += random() % 6 == 0 ? QChar(' ') : QChar('A' + int(random() % 26));
        const double size = double(random() % 100000000) / 100.0;
        const QDate date = QDate(1985, 1, 1).addDays(random() % 15000);
        rows.push_back({title, SizeText(size), kLocale.toString(date, QLocale::ShortFormat)});
    }
    return rows;
}

const std::vector<QStringList> &Rows()
{
    static const std::vector<QStringList> rows = MakeRows();
    return rows;
}

// The shown grid holding the rows, in the ROM list window's arrangement.
TSortableGrid &Grid()
{
    static TSortableGrid *grid = [] {
        auto *g = new TSortableGrid;
        g->SetSortLocale(kLocale);
        g->SetFixedCols(0);
        g->SetDefaultRowHeight(16);
        g->SetColCount(3);
        g->SetRowCount(kRows + 1);
        for (int r = 0; r <= kRows; ++r) {
            for (int c = 0; c < 3; ++c)
                g->SetCells(c, r, Rows()[r][c]);
        }
        g->resize(521, 245);
        g->show();
        g->activateWindow();
        for (int i = 0; i < 100 && !g->isActiveWindow(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return g;
    }();
    return *grid;
}

void SendClick(QWidget *target, QPoint point, Qt::MouseButton button)
{
    QMouseEvent press(QEvent::MouseButtonPress, point, target->mapToGlobal(point), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, target->mapToGlobal(point), button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void BM_ClickSort(benchmark::State &state)
{
    const int col = int(state.range(0));
    TSortableGrid &grid = Grid();
    const QPoint header = grid.CellRect(col, 0).center();
    for (auto _ : state) {
        state.PauseTiming();
        grid.RestoreUnsortedOrder();
        state.ResumeTiming();
        SendClick(grid.viewport(), header, Qt::LeftButton);
        grid.viewport()->repaint();
    }
    if (grid.SortRecord().size() != size_t(kRows))
        state.SkipWithError("the click did not sort");
}

template <class Key>
void RunFloor(benchmark::State &state, const std::vector<std::pair<Key, int>> &pairs)
{
    std::vector<QStringList> rows(Rows().begin() + 1, Rows().end());
    std::vector<QStringList> scratch(rows.size());
    for (auto _ : state) {
        state.PauseTiming();
        auto sorted = pairs;
        std::vector<QStringList> current = rows;
        state.ResumeTiming();
        std::stable_sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (size_t i = 0; i < sorted.size(); ++i)
            scratch[i] = std::move(current[sorted[i].second]);
        for (size_t i = 0; i < sorted.size(); ++i)
            current[i] = std::move(scratch[i]);
        benchmark::DoNotOptimize(current.data());
    }
}

void BM_Floor(benchmark::State &state)
{
    const int col = int(state.range(0));
    const SortKeyReader reader(kLocale);
    if (col == 0) {
        std::vector<std::pair<QString, int>> pairs;
        for (int i = 0; i < kRows; ++i)
            pairs.push_back({Rows()[i + 1][0], i});
        RunFloor(state, pairs);
    } else if (col == 1) {
        std::vector<std::pair<long double, int>> pairs;
        for (int i = 0; i < kRows; ++i) {
            long double value = 0;
            reader.ReadNumber(Rows()[i + 1][1], value);
            pairs.push_back({value, i});
        }
        RunFloor(state, pairs);
    } else {
        std::vector<std::pair<qint64, int>> pairs;
        for (int i = 0; i < kRows; ++i) {
            qint64 value = 0;
            reader.ReadDate(Rows()[i + 1][2], true, value);
            pairs.push_back({value, i});
        }
        RunFloor(state, pairs);
    }
}

BENCHMARK(BM_ClickSort)->ArgName("col")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->ArgName("col")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
