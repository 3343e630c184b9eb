// The extremes window on a big diary, driven through its real widgets
// under the offscreen platform.
//
//   build/bench/bench_extremes [DIR] [RIDES]
//   (default: /tmp/kolvio-bench-extremes 1000000)
//
// DIR/<rides>/ gets a synthetic diary unless it holds one of that size.
// The scenario: "Extrémy", the 1st highest and the 1st lowest of each of the
// 13 figures (26 entries), "DATUM", "TRASA START", "JÍZDA DÉLKA" and
// "JÍZDA PRŮMER" on "Zobrazit", no criterion; from the click on "O.K." to
// the viewer painted. It runs once untimed (first opening, file cache),
// then timed; wall times count on a shared machine, the CPU times beside
// them say what the process itself spent. Then the same work without the screens, split into the
// statement written into pomocne and the ranking written into VYSLEDEK.
// The peer is a plain copy of the pomocne.dbf it wrote (the least any way
// of keeping the rides' figures has to write), printed with the ratio.
//
// Goal at 1,000,000 rides: "O.K." to the viewer under 2 s.
#include <sys/resource.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/widgets/db_grid.h"
#include "app/widgets/round_button.h"
#include "bench_util.h"
#include "data/dbf/dbf_file.h"
#include "data/sql/sql_engine.h"
#include "data/table.h"
#include "gen_diary.h"
#include "main/screens.h"
#include "query/columns_page.h"
#include "query/extreme_page.h"
#include "query/extremes.h"
#include "query/fdotaz2.h"
#include "query/fzobr_dotaz.h"
#include "query/result_table.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

const QStringList kColumns = {"DATUM", "TRASA START", "JÍZDA DÉLKA", "JÍZDA PRŮMER"};

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "bench_extremes: %s\n", what);
        std::exit(1);
    }
}

// The 1st highest and the 1st lowest of every figure: rows 0 and 10 of
// each block of 20.
bool IsChosen(int row) {
    return row % 20 == 0 || row % 20 == 10;
}

// "Extrémy", the 26 entries and the columns chosen; "O.K." to the viewer
// painted, in ms (wall, and `cpu` of this process).
double RunExtremes(TForm_hl& form, double* cpu) {
    auto* nav = form.findChild<TFNavig*>();
    Require(nav && nav->RButton17->isEnabled(), "no \"Extrémy\" button");
    nav->RButton17->click();
    Settle();
    auto* window = qobject_cast<TFDotaz2*>(form.activeScreen());
    Require(window, "the extremes window did not open");
    QListWidget* offered = window->PageExtrem->ListBox1;
    for (int i = 0; i < offered->count(); ++i)
        offered->item(i)->setSelected(IsChosen(i));
    window->PageExtrem->BVybrat->click();
    Require(window->PageExtrem->ListBox2->count() == 26, "not 26 entries");
    for (const QString& label : kColumns) {
        const auto found = window->PageZobrazit->ListBox1->findItems(label, Qt::MatchExactly);
        Require(found.size() == 1, "no such column");
        window->PageZobrazit->ListBox1->clearSelection();
        found.front()->setSelected(true);
        window->PageZobrazit->BVybrat->click();
    }
    const auto start = Clock::now();
    const double cpu0 = CpuMs();
    window->Button1->click();
    Settle();
    auto* viewer = qobject_cast<TFZobr_Dotaz*>(form.activeScreen());
    Require(viewer, "the viewer did not open");
    (void)viewer->DBGrid1->viewport()->grab();
    const double ms = Ms(Clock::now() - start);
    *cpu = CpuMs() - cpu0;
    Require(viewer->DBGrid1->model()->rowCount() == 26, "not 26 rows");
    viewer->closeScreen();
    Settle();
    window->closeScreen();
    Settle();
    return ms;
}

// The same without the screens: pomocne written, then ranked into VYSLEDEK.
void Parts(const std::string& dir) {
    std::vector<ChosenExtreme> entries;
    std::vector<int> codes;
    for (int f = 1; f <= 13; ++f) {
        for (int code : {f * 100 + 1, f * 100 + 51}) {
            entries.push_back({std::to_string(code), code});
            codes.push_back(code);
        }
    }
    std::vector<std::string> labels;
    for (const QString& l : kColumns)
        labels.push_back(l.toStdString());
    BuilderState state;
    const std::vector<std::string> lines =
        ExtremeStatement(&state, ExtremeSelectColumns(codes, labels));
    double cpu0 = CpuMs();
    int64_t count = 0;
    const double engine = TimeMs([&] {
        Check(sql::QueryEach(
            dir, sql::JoinStatementLines(lines), [](const std::vector<FieldDef>&) {},
            [&count](const std::vector<Value>&) { ++count; }));
    });
    const double engineCpu = CpuMs() - cpu0;
    ResultTableReport written;
    cpu0 = CpuMs();
    const double pomocne = TimeMs([&] {
        Check(WriteResultTable(dir, sql::JoinStatementLines(lines), "pomocne.dbf", &written));
    });
    const double pomocneCpu = CpuMs() - cpu0;
    Table table(dir, "pomocne.dbf");
    ExtremesReport report;
    cpu0 = CpuMs();
    const double all =
        TimeMs([&] { Check(BuildExtremes(dir, lines, entries, labels, table, &report)); });
    const double allCpu = CpuMs() - cpu0;
    Require(report.rows == 26, "not 26 rows");
    const std::string copy = dir + "/copy-of-pomocne.dbf";
    const double copyMs = TimeMs([&] {
        std::filesystem::copy_file(dir + "/pomocne.dbf", copy,
                                   std::filesystem::copy_options::overwrite_existing);
    });
    std::filesystem::remove(copy);
    std::printf("%-52s %10.1f %10.1f\n", "  without screens: the statement alone (engine)", engine,
                engineCpu);
    std::printf("%-52s %10.1f %10.1f\n", "  without screens: statement into pomocne alone", pomocne,
                pomocneCpu);
    std::printf("%-52s %10.1f %10.1f\n", "  without screens: the same ranked, and VYSLEDEK", all,
                allCpu);
    std::printf("%-52s %10.1f\n", "  peer: plain copy of pomocne.dbf", copyMs);
    std::printf("pomocne rows %lld, pomocne.dbf %.0f MB; (statement into pomocne) / copy = %.2f\n",
                static_cast<long long>(report.rides),
                std::filesystem::file_size(dir + "/pomocne.dbf") / 1e6, pomocne / copyMs);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string root = argc > 1 ? argv[1] : "/tmp/kolvio-bench-extremes";
    const int64_t rides = argc > 2 ? std::atoll(argv[2]) : 1000000;
    const std::string dir = root + "/" + std::to_string(rides);
    {
        std::unique_ptr<DbfFile> f;
        if (!DbfFile::Open(dir + "/jizdy.dbf", false, LockMode::kShared, &f).ok() ||
            f->recordCount() != rides) {
            f.reset();
            std::filesystem::create_directories(dir);
            std::printf("generating %lld rides in %s ...\n", static_cast<long long>(rides),
                        dir.c_str());
            Check(GenerateDiary(dir, {rides, 1}));
        }
    }
    std::printf("%lld rides (jizdy.dbf %.0f MB)\n", static_cast<long long>(rides),
                std::filesystem::file_size(dir + "/jizdy.dbf") / 1e6);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    {
        std::ofstream ini((home.path() + "/kolvio.ini").toStdString());
        ini << "[Predchozi]\n1=" << dir << "\n";
    }
    qputenv("KOLVIO_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    RegisterScreens();
    {
        TForm_hl form;
        form.start();
        Settle();
        double cpu = 0;
        (void)RunExtremes(form, &cpu);
        const double ms = RunExtremes(form, &cpu);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%-52s %10s %10s %10s\n", "step", "wall ms", "cpu ms", "peak MB");
        std::printf("%-52s %10.1f %10.1f %10ld\n", "O.K. with 26 entries, 4 columns, to the viewer",
                    ms, cpu, usage.ru_maxrss / 1024);
    }
    Parts(dir);
    return 0;
}
