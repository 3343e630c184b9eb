// The ride screens on a large diary: opening them, storing a ride, and
// scrolling the editor's grid.
//
//   build/bench/bench_rides [ROWS] [RUNS]
//
// Writes two diaries with the synthetic diary generator (the one kolvio-gen
// uses), of 10,000 rides and of ROWS rides (default 1,000,000), each in a
// private program folder, and runs the desktop program's main window in this
// process under the offscreen platform, every question answered Yes. For
// each diary it times, RUNS times (default 5), with the median and the worst:
//
//   new ride: open       "Nová jízda" pressed until the screen is painted,
//                        its presets read from the latest ride by date
//   new ride: store      "PŘIDEJ" pressed until the ride is stored
//   new ride: next       ... until the next ride is prepared (presets again)
//   editor: open         "Editace jízd" pressed until the screen is painted
//                        on the last ride
//   editor: first->last  the grid scrolled from the first ride to the last
//                        and painted
//   editor: page         one page of the grid scrolled and painted
//
// each as wall-clock time and as the processor time this process spent (on a
// busy machine the wall clock also counts the time other programs ran), and
// counts how often the rides table's after-scroll handler ran while the
// grid was scrolled (a grid that reads rows without moving the cursor runs it
// never). The first opening of each screen in a session is printed apart:
// it is the one that builds what the rest reuse.
#include <time.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/message_service.h"
#include "app/table_handlers.h"
#include "app/widgets/db_grid.h"
#include "app/widgets/round_button.h"
#include "bench_util.h"
#include "gen_diary.h"
#include "main/screens.h"
#include "rides/feditjizd.h"
#include "rides/fnovajizda.h"

namespace {

using namespace kolvio;
using namespace kolvio::bench;

// Wall-clock and processor time from construction to take().
class Stopwatch {
public:
    Stopwatch() : wall_(Clock::now()), cpu_(CpuMs()) {}
    std::pair<double, double> take() const { return {Ms(Clock::now() - wall_), CpuMs() - cpu_}; }

private:
    Clock::time_point wall_;
    double cpu_;
};

using Times = std::vector<std::pair<double, double>>;  // wall, processor

// Every question answered Yes, every notice acknowledged.
class YesMessages final : public MessageService {
public:
    MsgResult show(const Message& m) override {
        return m.buttons == MsgButtons::kYesNo ? MsgResult::kYes : MsgResult::kOk;
    }
};

void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TFNavig* Navigator(TForm_hl& form) {
    for (QMdiSubWindow* sub : form.mdiArea()->subWindowList()) {
        if (auto* n = qobject_cast<TFNavig*>(sub->widget())) return n;
    }
    return nullptr;
}

// Presses a navigator button; the screen it opened, painted.
template <typename Screen>
Screen* Press(TForm_hl& form, RoundButton* TFNavig::*button, std::pair<double, double>* ms) {
    TFNavig* navigator = Navigator(form);
    if (!navigator) std::exit(1);
    const Stopwatch watch;
    (navigator->*button)->click();
    auto* screen = qobject_cast<Screen*>(form.activeScreen());
    if (!screen) {
        std::fprintf(stderr, "the screen did not open\n");
        std::exit(1);
    }
    screen->repaint();
    *ms = watch.take();
    Settle();
    return screen;
}

void Close(TFTaskZakl* screen) {
    screen->BKONEC->click();
    Settle();
}

struct Figures {
    Times openNew, store, next, openEditor, firstToLast, page;
    std::pair<double, double> firstNew, firstEditor;
    int afterScrolls = 0;
};

void Print(const char* label, const Times& times) {
    std::vector<double> wall, cpu;
    for (const auto& [w, c] : times) {
        wall.push_back(w);
        cpu.push_back(c);
    }
    std::sort(wall.begin(), wall.end());
    std::printf("  %-22s median %7.1f ms   worst %7.1f ms   processor median %7.1f ms\n", label,
                Median(wall), wall.back(), Median(cpu));
}

void NewRide(TForm_hl& form, int runs, Figures* f) {
    Table& rides = form.database().Table1();
    for (int i = 0; i <= runs; ++i) {
        std::pair<double, double> open;
        auto* screen = Press<TFNovaJizda>(form, &TFNavig::RButton1, &open);
        if (i == 0) {
            f->firstNew = open;
        } else {
            f->openNew.push_back(open);
        }
        screen->PoZasKonec->setChecked(false);
        for (const auto& [box, text] : {std::pair{RideBox::kETRP, "42.5"},
                                        {RideBox::kESTP, "1:30:00"},
                                        {RideBox::kEMAX, "48.4"}}) {
            screen->box(box)->setText(QString::fromLatin1(text));
            screen->box(box)->setModified(true);  // as typed
            screen->ETRPExit(box);
        }
        std::pair<double, double> stored;
        const Stopwatch watch;
        TableHandlers afterPost;
        afterPost.attach(rides, TableEvent::kAfterPost, [&stored, &watch](Table&) {
            stored = watch.take();
            return Status::Ok();
        });
        screen->Button2->click();
        const std::pair<double, double> prepared = watch.take();
        afterPost.detachAll();
        if (i > 0) {
            f->store.push_back(stored);
            f->next.push_back(prepared);
        }
        Close(screen);
    }
}

void Editor(TForm_hl& form, int runs, Figures* f) {
    Table& rides = form.database().Table1();
    for (int i = 0; i <= runs; ++i) {
        std::pair<double, double> open;
        auto* editor = Press<TFEditJizd>(form, &TFNavig::RButton8, &open);
        if (i == 0) {
            f->firstEditor = open;
        } else {
            f->openEditor.push_back(open);
        }
        DBGrid* grid = editor->DBGrid1;
        QScrollBar* bar = grid->verticalScrollBar();
        TableHandlers count;
        count.attach(rides, TableEvent::kAfterScroll, [f](Table&) {
            ++f->afterScrolls;
            return Status::Ok();
        });
        bar->setValue(bar->minimum());
        grid->viewport()->repaint();
        const Stopwatch whole;
        bar->setValue(bar->maximum());
        grid->viewport()->repaint();
        const std::pair<double, double> firstToLast = whole.take();
        const int middle = (bar->minimum() + bar->maximum()) / 2;
        bar->setValue(middle);
        grid->viewport()->repaint();
        const Stopwatch page;
        bar->setValue(middle + bar->pageStep());
        grid->viewport()->repaint();
        const std::pair<double, double> onePage = page.take();
        count.detachAll();
        if (i > 0) {
            f->firstToLast.push_back(firstToLast);
            f->page.push_back(onePage);
        }
        Close(editor);
    }
}

void Measure(int rows, int runs, const std::filesystem::path& root) {
    const std::filesystem::path home = root / std::to_string(rows);
    std::filesystem::create_directories(home / "DATA");
    Clock::time_point t0 = Clock::now();
    Check(GenerateDiary((home / "DATA").string(), {rows, 1}));
    double load[1] = {0};
    getloadavg(load, 1);
    std::printf("%d rides written in %.1f s (load average %.1f)\n", rows,
                Ms(Clock::now() - t0) / 1000, load[0]);
    qputenv("KOLVIO_HOME", QByteArray::fromStdString(home.string()));
    Figures f;
    {
        t0 = Clock::now();
        TForm_hl form;
        form.start();
        Settle();
        std::printf("  main window and database opened in %.1f ms\n", Ms(Clock::now() - t0));
        NewRide(form, runs, &f);
        Editor(form, runs, &f);
        form.close();
    }
    std::printf("  %-22s        %7.1f ms   processor %7.1f ms\n", "new ride: first open",
                f.firstNew.first, f.firstNew.second);
    Print("new ride: open", f.openNew);
    Print("new ride: store", f.store);
    Print("new ride: next", f.next);
    std::printf("  %-22s        %7.1f ms   processor %7.1f ms\n", "editor: first open",
                f.firstEditor.first, f.firstEditor.second);
    Print("editor: open", f.openEditor);
    Print("editor: first->last", f.firstToLast);
    Print("editor: page", f.page);
    std::printf("  after-scroll handler runs while scrolling: %d\n", f.afterScrolls);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    YesMessages yes;
    SetMessageService(&yes);
    RegisterScreens();
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("kolvio-bench-rides-" + std::to_string(getpid()));
    Measure(10000, runs, root);
    if (rows != 10000) Measure(rows, runs, root);
    std::filesystem::remove_all(root);
    SetMessageService(nullptr);
    return 0;
}
