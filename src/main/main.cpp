// kolvio: the desktop program.
//
//   kolvio            the program on the most recent database
//   kolvio -setup     also offers menu entries and registers the chart
//   kolvio --version  prints the version, --help the usage (no window)
//
// Two options for tools, not for riders: "--screenshot FILE" saves a picture
// of the main window once the navigator is shown and ends; "--quit-when-shown"
// prints "shown" when the navigator has been painted and ends (start-up
// benchmark). Neither checks for a running copy.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/fnavig.h"
#include "app/form_hl.h"
#include "app/single_instance.h"
#include "kolvio_version.h"
#include "main/screens.h"

namespace {

const char kUsage[] =
    "Použití: kolvio [-setup]\n"
    "Deník cyklistického tréninku.\n\n"
    "  -setup      nabídne položky programu v nabídce aplikací\n"
    "  --version   vypíše verzi programu\n"
    "  --help      vypíše tento návod\n\n"
    "Nastavení kolvio.ini a databáze DATA jsou ve složce KOLVIO_HOME, jinak v\n"
    "~/.local/share/kolvio (u přenosné kopie vedle programu). Více v \"man kolvio\".\n";

// Runs `done` once, after the first paint of the navigator.
class FirstPaint final : public QObject {
public:
    FirstPaint(QWidget* watched, std::function<void()> done)
        : QObject(watched), done_(std::move(done)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && done_) {
            // Let this paint finish first.
            QTimer::singleShot(0, watched, std::exchange(done_, nullptr));
        }
        return false;
    }

private:
    std::function<void()> done_;
};

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window system is needed, so they work on a console.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kolvio %s\n", kolvio::kVersion);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kolvio"));
    QApplication::setApplicationVersion(QLatin1String(kolvio::kVersionShort));
    // The installed menu entry and icon carry the application id.
    QApplication::setDesktopFileName(QLatin1String(kolvio::kApplicationId));
    QApplication::setWindowIcon(QIcon::fromTheme(QLatin1String(kolvio::kApplicationId)));

    const QStringList args = QApplication::arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    const QString screenshot = shot > 0 && shot + 1 < args.size() ? args.at(shot + 1) : QString();
    const bool quitWhenShown = args.contains(QStringLiteral("--quit-when-shown"));
    const bool tool = !screenshot.isEmpty() || quitWhenShown;

    kolvio::SingleInstance instance(kolvio::SingleInstanceName());
    if (!tool && instance.start() == kolvio::SingleInstance::Role::kHandedOver) return 0;

    kolvio::RegisterScreens();
    kolvio::TForm_hl form(args);
    QObject::connect(&instance, &kolvio::SingleInstance::activationRequested, &form,
                     &kolvio::TForm_hl::bringToFront);
    form.start();

    if (tool) {
        auto* navigator = form.findChild<kolvio::TFNavig*>();
        QWidget* watched = navigator ? static_cast<QWidget*>(navigator) : &form;
        new FirstPaint(watched, [&form, screenshot, quitWhenShown] {
            if (quitWhenShown) {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QApplication::exit(0);
                return;
            }
            // Fonts and the status-bar clock settle in the first few frames.
            QTimer::singleShot(300, &form, [&form, screenshot] {
                const bool saved = form.grab().save(screenshot);
                QApplication::exit(saved ? 0 : 1);
            });
        });
    }
    return app.exec();
}
