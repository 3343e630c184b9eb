// The new-ride screen filled from a device's file: "Načíst jízdu ze
// souboru..." and files dropped onto the screen.
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "activity/activity_file.h"
#include "app/display_format.h"
#include "app/form_hl.h"
#include "rides/fnovajizda.h"
#include "rides/ride_file_chooser.h"
#include "rides/ride_from_file.h"

namespace kolvio {

namespace {

// Where the file chooser opened last, in section "Nova_jizda".
constexpr char kFileFolderKey[] = "Slozka_souboru";

// The one local file a drag carries; none for several files, text or links.
std::optional<QString> DraggedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return std::nullopt;
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile()) return std::nullopt;
    return url.toLocalFile();
}

}  // namespace

void TFNovaJizda::acceptFileDrops() {
    setAcceptDrops(true);
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool TFNovaJizda::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!DraggedFile(drag->mimeData())) break;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<QString> file = DraggedFile(drop->mimeData());
            if (!file) break;
            drop->acceptProposedAction();
            loadRideFile(*file);
            return true;
        }
        default:
            break;
    }
    return TFData_Zakl::eventFilter(watched, event);
}

void TFNovaJizda::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedFile(event->mimeData())) event->acceptProposedAction();
}

void TFNovaJizda::dropEvent(QDropEvent* event) {
    const std::optional<QString> file = DraggedFile(event->mimeData());
    if (!file) return;
    event->acceptProposedAction();
    loadRideFile(*file);
}

void TFNovaJizda::MNactiJizduClick() {
    SettingsFile& ini = mainWindow().settings();
    const QString folder =
        QString::fromStdString(ini.readString(kNewRideSection, kFileFolderKey, ""));
    const std::optional<QString> file = RideFiles().choose(this, folder);
    if (!file) return;
    // Only a convenience: a folder that cannot be remembered is chosen
    // again next time.
    (void)ini.writeString(kNewRideSection, kFileFolderKey,
                          QFileInfo(*file).absolutePath().toStdString());
    loadRideFile(*file);
}

void TFNovaJizda::loadRideFile(const QString& path) {
    if (closing_ || !inserting()) return;
    const std::string file = QDir::toNativeSeparators(path).toStdString();
    activity::ActivityResult read = activity::ReadActivityFile(file);
    if (!read.ok()) {
        ShowMsgBox(QString::fromStdString(read.error), MsgKind::kError, MsgButtons::kOk);
        return;
    }
    const activity::FiguresResult worked =
        activity::WorkOutRideFigures(read.activity, figures_.setLimit, file);
    if (!worked.ok()) {
        ShowMsgBox(QString::fromStdString(worked.error), MsgKind::kError, MsgButtons::kOk);
        return;
    }
    // A file read only in part: the rider looks at the figures before
    // storing them.
    for (const std::string& warning : read.warnings)
        ShowMsgBox(QString::fromStdString(warning), MsgKind::kWarning, MsgButtons::kOk);

    const activity::RideFigures& f = worked.figures;
    if (const std::optional<Date> day = DateOf(f)) {
        DateTimePicker1->setDate(QDate(day->year(), day->month(), day->day()));
    }
    // Heart-rate boxes are filled only when enabled; a file without heart
    // rate makes the ride unmeasured, whatever the last ride was.
    sr_mer->setChecked(f.heartRateMeasured);
    for (const BoxText& entry : BoxTextsOf(f)) {
        box(entry.box)->setText(QString::fromStdString(entry.text));
        ETRPExit(entry.box);
    }
    activity_ = std::move(read.activity);
    activityFile_ = path;
}

void TFNovaJizda::overLimitFromFile() {
    if (!activity_ || !sr_mer->isChecked()) return;
    const activity::FiguresResult worked = activity::WorkOutRideFigures(
        *activity_, figures_.setLimit, QDir::toNativeSeparators(activityFile_).toStdString());
    if (!worked.ok() || !worked.figures.heartRateMeasured) return;
    sr_plc->setText(QString::fromStdString(FormatDuration(worked.figures.overLimitHours)));
    ETRPExit(RideBox::kSrPlc);
}

}  // namespace kolvio
