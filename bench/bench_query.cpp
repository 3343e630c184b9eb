// The query builder and the result viewer on a big diary, driven through
// their real widgets under the offscreen platform.
//
//   build/bench/bench_query [DIR] [RIDES]
//   (default: /tmp/kolvio-bench-query 1000000)
//
// DIR/<rides>/ gets a synthetic diary unless it holds one of that size. Each
// scenario runs in a fresh process (this program with --run), so that its
// peak memory is its own, after one untimed run that opens the database the
// first time and warms the file cache:
//   statistics  "Statistika tratí", four columns, the year 2023 ticked in
//               "použité roky..." and "výběr NE" on bike 1: from the click
//               on "O.K." to the viewer painted;
//   listing     "Obecné" with all 31 plain columns and no criterion (a
//               result of every ride): "O.K." to the viewer painted, then
//               the first click on the title "datum jízdy" to the sorted grid
//               painted.
//   parts       the listing without the screens: the statement alone, the
//               statement written into VYSLEDEK, VYSLEDEK opened and counted.
// The peer of the listing is a plain copy of the VYSLEDEK.dbf it wrote (the
// least any way of storing the rows has to write), printed with the ratio.
// Wall times count on a shared machine; the CPU times beside them say what
// the process itself spent.
//
// Goals at 1,000,000 rides: statistics under 1 s; listing under 5 s with a
// peak under 500 MB; the first title click under 1 s.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
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
#include "gen_diary.h"
#include "main/screens.h"
#include "query/builder_parts.h"
#include "query/column_catalogue.h"
#include "query/columns_page.h"
#include "query/date_page.h"
#include "query/fdotaz1.h"
#include "query/fzobr_dotaz.h"
#include "query/list_pages.h"
#include "query/result_table.h"
#include "query/statement.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "bench_query: %s\n", what);
        std::exit(1);
    }
}

TFDotaz1* Open(TForm_hl& form, RoundButton* TFNavig::*button) {
    auto* nav = form.findChild<TFNavig*>();
    Require(nav && (nav->*button)->isEnabled(), "no evaluation button");
    const auto start = Clock::now();
    const double cpu0 = CpuMs();
    (nav->*button)->click();
    Settle();
    auto* builder = qobject_cast<TFDotaz1*>(form.activeScreen());
    Require(builder, "the builder did not open");
    (void)builder->grab();
    std::printf("open_ms %.1f\nopen_cpu %.1f\n", Ms(Clock::now() - start), CpuMs() - cpu0);
    return builder;
}

void Choose(TFDotaz1* b, const QStringList& labels) {
    for (const QString& label : labels) {
        const auto found = b->PageZobrazit->ListBox1->findItems(label, Qt::MatchExactly);
        Require(found.size() == 1, "no such column");
        b->PageZobrazit->ListBox1->clearSelection();
        found.front()->setSelected(true);
        b->PageZobrazit->BVybrat->click();
    }
}

// "O.K." until the viewer's grid has painted its first screen of rows.
double RunToViewer(TForm_hl& form, TFDotaz1* b, TFZobr_Dotaz** viewer, double* cpu) {
    const auto start = Clock::now();
    const double cpu0 = CpuMs();
    b->Button1->click();
    Settle();
    *viewer = qobject_cast<TFZobr_Dotaz*>(form.activeScreen());
    Require(*viewer, "the viewer did not open");
    (void)(*viewer)->DBGrid1->viewport()->grab();
    *cpu = CpuMs() - cpu0;
    return Ms(Clock::now() - start);
}

void Statistics(TForm_hl& form) {
    TFDotaz1* b = Open(form, &TFNavig::RButton12);
    Choose(b, {"TRASA START", "TRASA CÍL", "POČET PRŮJEZDŮ", "CELK.UJET.DÉLKA"});
    DatePage* date = b->PageCas;
    date->RBPouzite->click();
    const auto years = date->CheckListRoky->findItems(QStringLiteral("2023"), Qt::MatchExactly);
    Require(years.size() == 1, "no rides in 2023");
    years.front()->setCheckState(Qt::Checked);
    date->CBPouzit->click();
    PickList* bikes = b->PageKolo->picks;
    bikes->grid->datasetModel()->setCurrentRow(0);
    bikes->add->click();
    b->PageKolo->Vyber->Ne->click();
    b->PageKolo->CBPouzit->click();
    Require(!b->state().DateCriterion.empty() && !b->state().BikeCriterion.empty(),
            "criteria not ticked");
    TFZobr_Dotaz* viewer = nullptr;
    double cpu = 0;
    std::printf("statistics_ms %.1f\n", RunToViewer(form, b, &viewer, &cpu));
    std::printf("statistics_cpu %.1f\n", cpu);
    std::printf("statistics_rows %d\n", viewer->DBGrid1->model()->rowCount());
}

void Listing(TForm_hl& form) {
    TFDotaz1* b = Open(form, &TFNavig::RButton10);
    b->PageZobrazit->BVseVybrat->click();
    TFZobr_Dotaz* viewer = nullptr;
    double cpu = 0;
    std::printf("listing_ms %.1f\n", RunToViewer(form, b, &viewer, &cpu));
    std::printf("listing_cpu %.1f\n", cpu);
    std::printf("listing_rows %d\n", viewer->DBGrid1->model()->rowCount());
    QHeaderView* header = viewer->DBGrid1->horizontalHeader();
    const auto start = Clock::now();
    const double cpu0 = CpuMs();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, 5));
    Settle();
    (void)viewer->DBGrid1->viewport()->grab();
    std::printf("title_click_ms %.1f\n", Ms(Clock::now() - start));
    std::printf("title_click_cpu %.1f\n", CpuMs() - cpu0);
    Require(form.database().TVYSL().indexName() == "_DATUM", "the click did not sort");
}

// Where the listing's time goes: the statement and writing VYSLEDEK, then
// opening it and counting its rows, without the screens.
void ListingParts(const std::string& dataDir, const std::string& statement) {
    auto t0 = Clock::now();
    double cpu0 = CpuMs();
    int64_t rows = 0;
    Check(sql::QueryEach(
        dataDir, statement, [](const std::vector<FieldDef>&) {},
        [&rows](const std::vector<Value>&) { ++rows; }));
    std::printf("parts_engine_ms %.1f\nparts_engine_cpu %.1f\n", Ms(Clock::now() - t0),
                CpuMs() - cpu0);
    t0 = Clock::now();
    cpu0 = CpuMs();
    ResultTableReport report;
    Check(WriteResultTable(dataDir, statement, "VYSLEDEK.dbf", &report));
    std::printf("parts_write_ms %.1f\nparts_write_cpu %.1f\n", Ms(Clock::now() - t0),
                CpuMs() - cpu0);
    const auto t1 = Clock::now();
    cpu0 = CpuMs();
    Table table(dataDir, "VYSLEDEK.dbf");
    Check(table.open());
    std::printf("parts_open_rows %lld\n", static_cast<long long>(table.recordCount()));
    std::printf("parts_open_ms %.1f\nparts_open_cpu %.1f\n", Ms(Clock::now() - t1), CpuMs() - cpu0);
}

// One scenario in this process: a program folder of its own on `dataDir`.
int RunScenario(int argc, char** argv, const std::string& scenario, const std::string& dataDir) {
    if (scenario == "parts") {
        BuilderState state;
        ApplyPreset(&state, PresetOfButton("RButton10"));
        ListingParts(dataDir,
                     sql::JoinStatementLines(AssembleStatement(&state, ColumnListLabels(0))));
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    {
        std::ofstream ini((home.path() + "/kolvio.ini").toStdString());
        ini << "[Predchozi]\n1=" << dataDir << "\n";
    }
    qputenv("KOLVIO_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    RegisterScreens();
    TForm_hl form;
    form.start();
    Settle();
    if (scenario == "statistics") Statistics(form);
    if (scenario == "listing") Listing(form);
    std::fflush(stdout);
    return 0;
}

struct Outcome {
    std::string text;
    long peakKb = -1;
};

Outcome Spawn(const char* self, const char* scenario, const std::string& dataDir) {
    int out[2];
    Require(pipe(out) == 0, "pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(self, self, "--run", scenario, dataDir.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    Outcome o;
    char buf[512];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        o.text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Require(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a scenario failed");
    o.peakKb = usage.ru_maxrss;
    return o;
}

double Figure(const Outcome& o, const char* key) {
    const std::string k = std::string(key) + " ";
    const size_t at = o.text.find(k);
    return at == std::string::npos ? -1 : std::atof(o.text.c_str() + at + k.size());
}

// A scenario after one untimed run (first opening, file cache).
Outcome Run(const char* self, const char* scenario, const std::string& dataDir) {
    (void)Spawn(self, scenario, dataDir);
    return Spawn(self, scenario, dataDir);
}

double CopyMs(const std::string& from, const std::string& to) {
    return TimeMs([&] {
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--run") == 0) {
        return RunScenario(argc, argv, argv[2], argv[3]);
    }
    const std::string root = argc > 1 ? argv[1] : "/tmp/kolvio-bench-query";
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
    std::printf("%-52s %10s %10s %10s\n", "step", "wall ms", "cpu ms", "peak MB");
    const auto row = [](const char* step, double wall, double cpu, double peakMb) {
        std::printf("%-52s %10.1f %10.1f %10s\n", step, wall, cpu,
                    peakMb > 0 ? std::to_string(static_cast<int>(peakMb)).c_str() : "");
    };
    const Outcome stats = Run(argv[0], "statistics", dir);
    row("evaluation button to the builder shown (years read)", Figure(stats, "open_ms"),
        Figure(stats, "open_cpu"), 0);
    row("O.K. \"Statistika tratí\" (2023, NE bike 1) to viewer", Figure(stats, "statistics_ms"),
        Figure(stats, "statistics_cpu"), stats.peakKb / 1024.0);
    const Outcome listing = Run(argv[0], "listing", dir);
    row("O.K. \"Obecné\" (31 columns, every ride) to viewer", Figure(listing, "listing_ms"),
        Figure(listing, "listing_cpu"), listing.peakKb / 1024.0);
    row("first title click (\"datum jízdy\") to sorted grid", Figure(listing, "title_click_ms"),
        Figure(listing, "title_click_cpu"), 0);
    const Outcome parts = Run(argv[0], "parts", dir);
    row("  of the listing: the statement alone (engine)", Figure(parts, "parts_engine_ms"),
        Figure(parts, "parts_engine_cpu"), 0);
    row("  of the listing: statement and VYSLEDEK written", Figure(parts, "parts_write_ms"),
        Figure(parts, "parts_write_cpu"), parts.peakKb / 1024.0);
    row("  of the listing: VYSLEDEK opened, rows counted", Figure(parts, "parts_open_ms"),
        Figure(parts, "parts_open_cpu"), 0);
    const std::string vysledek = dir + "/VYSLEDEK.dbf";
    const double copy = CopyMs(vysledek, dir + "/copy-of-VYSLEDEK.dbf");
    std::filesystem::remove(dir + "/copy-of-VYSLEDEK.dbf");
    row("  peer: plain copy of VYSLEDEK.dbf", copy, 0, 0);
    std::printf("listing rows %.0f, VYSLEDEK.dbf %.0f MB; listing / copy = %.2f\n",
                Figure(listing, "listing_rows"), std::filesystem::file_size(vysledek) / 1e6,
                Figure(listing, "listing_ms") / copy);
    return 0;
}
