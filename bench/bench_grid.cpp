// A grid over the rides table of a large diary: opening it, and scrolling it
// from the first ride to the last, repainting at every step, first in the
// order of the file and then in date order (the index DATUM).
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_grid [ROWS] [STEPS]
//
// Makes a diary of ROWS rides (default 1,000,000) with the synthetic diary
// generator in a temporary folder and opens it as the program does. The grid
// shows five columns with the program's formatters. Scrolling puts row
// i * (ROWS - 1) / STEPS at the top for i = 0 .. STEPS (default 2,000) and
// paints the grid into a picture. Prints the time to open the grid and paint it,
// the median and slowest repaint of a step, and checks what painting must
// never do: run the table's after-scroll handlers or move its cursor.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>

#include "app/display_format.h"
#include "app/widgets/db_grid.h"
#include "bench_util.h"
#include "data/database/database.h"
#include "gen_diary.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

struct Scroll {
    double medianMs;
    double slowestMs;
    double totalMs;
};

Scroll ScrollThrough(DBGrid& grid, int64_t rows, int steps) {
    std::vector<double> each;
    const double total = TimeMs([&] {
        for (int i = 0; i <= steps; ++i) {
            const int row = static_cast<int>(static_cast<int64_t>(i) * (rows - 1) / steps);
            each.push_back(TimeMs([&] {
                grid.scrollTo(grid.model()->index(row, 0), QAbstractItemView::PositionAtTop);
                (void)grid.viewport()->grab();
            }));
        }
    });
    return {Median(each), *std::max_element(each.begin(), each.end()), total};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int64_t rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const int steps = argc > 2 ? std::atoi(argv[2]) : 2000;
    QTemporaryDir dir;
    const std::string data = dir.filePath(QStringLiteral("DATA")).toStdString();
    std::filesystem::create_directories(data);
    std::printf("diary of %lld rides: %.0f ms\n", static_cast<long long>(rows), TimeMs([&] {
                    Check(GenerateDiary(data, {rows, 1}));
                }));

    Database db;
    std::printf("opening the database (indexes built): %.0f ms\n",
                TimeMs([&] { Check(db.MOtevriNovaDB(data, OverwritePolicy::kKeepFiles)); }));
    Table& rides = db.Table1();
    Check(rides.moveToRow(rows / 2));
    int handlers = 0;
    rides.on(TableEvent::kAfterScroll, [&handlers](Table&) {
        ++handlers;
        return Status::Ok();
    });

    const DisplaySettings settings;
    const auto format = [&settings](std::string (*f)(const Value&, const DisplaySettings&)) {
        return [f, &settings](const Value& v) { return QString::fromStdString(f(v, settings)); };
    };
    DBGrid* grid = nullptr;
    const double open = TimeMs([&] {
        grid = new DBGrid(
            rides, {{QStringLiteral("DATUM"), QStringLiteral("datum")},
                    {QStringLiteral("DELKA"), QStringLiteral("délka"), format(DELKAGetText)},
                    {QStringLiteral("CAS"), QStringLiteral("čas"),
                     [](const Value& v) { return QString::fromStdString(CASGetText(v)); }},
                    {QStringLiteral("PRUMER"), QStringLiteral("průměr"), format(PRUMERGetText)},
                    {QStringLiteral("POPIS1"), QStringLiteral("popis")}});
        grid->resize(900, 600);
        grid->show();
        (void)grid->viewport()->grab();
    });
    std::printf("grid opened and painted: %.1f ms\n", open);
    // Painting rows already read, for comparison with a step of scrolling.
    std::vector<double> paints;
    for (int i = 0; i < 20; ++i)
        paints.push_back(TimeMs([&] { (void)grid->viewport()->grab(); }));
    std::printf("painting the same rows again: %.2f ms\n", Median(paints));

    const Scroll physical = ScrollThrough(*grid, rows, steps);
    std::printf(
        "scrolled first to last in %d steps, file order: %.0f ms, a step %.2f ms "
        "(slowest %.2f ms)\n",
        steps, physical.totalMs, physical.medianMs, physical.slowestMs);
    const int whilePainting = handlers;
    // Ordering by date reorders the rows (and moves the cursor once).
    Check(rides.setIndexName("DATUM"));
    const int64_t current = rides.rowNumber();
    handlers = 0;
    const Scroll dated = ScrollThrough(*grid, rows, steps);
    std::printf(
        "scrolled first to last in %d steps, date order: %.0f ms, a step %.2f ms "
        "(slowest %.2f ms)\n",
        steps, dated.totalMs, dated.medianMs, dated.slowestMs);

    const bool stayed = rides.rowNumber() == current;
    std::printf("after-scroll handlers run while painting: %d; cursor stayed: %s\n",
                whilePainting + handlers, stayed ? "yes" : "NO");
    delete grid;
    return whilePainting + handlers == 0 && stayed ? 0 : 1;
}
