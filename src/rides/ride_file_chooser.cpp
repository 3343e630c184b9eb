#include "rides/ride_file_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace kolvio {

namespace {

RideFileChooser* g_chooser = nullptr;

DialogRideFileChooser& DefaultChooser() {
    static DialogRideFileChooser chooser;
    return chooser;
}

}  // namespace

RideFileChooser& RideFiles() {
    return g_chooser ? *g_chooser : DefaultChooser();
}

RideFileChooser* SetRideFileChooser(RideFileChooser* chooser) {
    RideFileChooser* previous = g_chooser;
    g_chooser = chooser;
    return previous;
}

std::optional<QString> DialogRideFileChooser::choose(QWidget* parent, const QString& startDir) {
    // Devices name their files in either case.
    const QString file = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Načíst jízdu ze souboru"),
        startDir.isEmpty() ? QDir::homePath() : startDir,
        QStringLiteral("Záznamy jízd (*.fit *.FIT *.tcx *.TCX *.gpx *.GPX);;Všechny soubory (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

}  // namespace kolvio
