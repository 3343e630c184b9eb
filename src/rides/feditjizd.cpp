#include "rides/feditjizd.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "data/database/database.h"
#include "rides/ride_edit_rules.h"
#include "rides/ride_widgets.h"

namespace kolvio {

namespace {

constexpr RideBox kEditorBoxes[] = {RideBox::kETRP,  RideBox::kESTP,  RideBox::kEMAX,
                                    RideBox::kSrAvg, RideBox::kSrMax, RideBox::kSrKcal,
                                    RideBox::kSrX,   RideBox::kSrLim, RideBox::kSrPlp,
                                    RideBox::kSrPlc, RideBox::kRiders};

bool Editing(const Table& t) {
    return t.state() == DatasetState::kEdit || t.state() == DatasetState::kInsert;
}

QString WithoutLeadingBlanks(const std::string& text) {
    return QString::fromStdString(text).trimmed();
}

}  // namespace

TFEditJizd::TFEditJizd(TForm_hl& main) : TFData_Zakl(main) {
    setObjectName(QStringLiteral("FEditJizd"));
    setWindowTitle(QStringLiteral("Editace jízdy"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ JÍZD"));
    setHelpContext(801);
    PoZasKonec->hide();
    buildLayout();

    for (const RideBox which : kEditorBoxes)
        exits_.on(editBox(which), [this, which] { ETRPExit(which); });
    connect(sr_mer, &QCheckBox::toggled, this, &TFEditJizd::sr_merClick);
    connect(ArrowButton1, &ArrowButton::clicked, this, &TFEditJizd::ArrowButton1Click);
    // After the lookup has written the type and moved the type list to it.
    connect(DBLookupComboBox6, &QComboBox::activated, this, &TFEditJizd::DBLookupComboBox6Click);
    connect(Button1, &QPushButton::clicked, this, &TFEditJizd::Button1Click);

    // FormCreate
    Table& t = rides();
    handlers_.attach(t, TableEvent::kAfterScroll, [this](Table& rides) {
        // Rows walked over while the table's controls are silenced (a grid
        // reading rows) are not the rider's moves; the walk ends where it
        // began, on the ride the boxes show.
        if (!rides.controlsDisabled()) Table1AfterScroll();
        return Status::Ok();
    });
    StoreOk(t.last());
    Table1AfterScroll();
    handlers_.attach(t, TableEvent::kBeforePost, [this](Table& r) { return TTable1BeforePost(r); });
}

Table& TFEditJizd::rides() const {
    return mainWindow().database().Table1();
}

bool TFEditJizd::editing() const {
    return Editing(rides());
}

QLineEdit* TFEditJizd::editBox(RideBox which) const {
    return which == RideBox::kRiders ? DBEdit1 : box(which);
}

void TFEditJizd::Table1AfterScroll() {
    Table& t = rides();
    const bool any = t.isOpen() && !t.isEmpty();
    const DisplaySettings& s = mainWindow().displaySettings();
    for (const RideBox which : kEditorBoxes) {
        const QString text =
            any ? QString::fromStdString(EditorBoxText(which, t.value(FieldOf(which)), s))
                : QString();
        QLineEdit* edit = editBox(which);
        edit->setText(text);
        edit->setCursorPosition(0);
        shown_[which] = text;
    }
    EAVS->setText(any ? WithoutLeadingBlanks(PRUMERGetText(t.value("PRUMER"), s)) : QString());
    showDirection(any && t.getInt("TRS_SMER") == 1);
    Database& db = mainWindow().database();
    bool noRoutes = false;
    if (any) {
        // A primary type missing from its list allows routes; one that
        // cannot be read is said, and the routes stay offered.
        const Status found = db.TTRNZ().locate("TRNZ_C", t.value("TRNZ_C"));
        noRoutes = SearchReadOk(found) && found.ok() && db.TTRNZ().getBool("ZADNE_TRS");
    }
    GBTrat->setVisible(!noRoutes);
    db.TTRS().setFiltered(any && !noRoutes);
    for (QWidget* group : {GBTrat, GBCyklo, GBTyp, GBKolo, GBSrdce})
        group->setEnabled(any);
    DBEdit2->setEnabled(any);
    Button1->setEnabled(any);
    // From the ride: its check box may be refilled only after this handler.
    enableHeartBoxes(any && t.getBool("SR_MER"));
}

void TFEditJizd::sr_merClick() {
    enableHeartBoxes(sr_mer->isChecked());
}

void TFEditJizd::enableHeartBoxes(bool on) {
    for (QLineEdit* edit : heartBoxes())
        edit->setEnabled(on);
}

bool TFEditJizd::write(const FieldChanges& changes) {
    Table& t = rides();
    if (!Editing(t) && !StoreOk(t.edit())) return false;
    for (const FieldChange& change : changes) {
        if (t.hasField(change.field) && !StoreOk(t.setValue(change.field, change.value))) {
            return false;
        }
    }
    return true;
}

void TFEditJizd::ETRPExit(RideBox which) {
    if (closing_ || rides().isEmpty()) return;
    QLineEdit* edit = editBox(which);
    const EditorLeave leave = LeaveEditorBox(which, edit->text().toStdString(),
                                             shown_[which].toStdString(), ReadRideFigures(rides()));
    // On the way out ("ZRUŠ" clicked or Esc) a refused text is dropped
    // without a word.
    if (leave.refusal && (leaving_ || QApplication::focusWidget() == BKONEC)) {
        edit->setText(shown_[which]);
        return;
    }
    if (leave.refusal) {
        refused_ = true;
        ShowRefusal(*leave.refusal);
        RefocusLater(edit);
        return;
    }
    refused_ = false;
    if (leave.changes.empty()) return;
    write(leave.changes);
    Table1AfterScroll();
}

bool TFEditJizd::leaveFocusedBox() {
    QWidget* focus = QApplication::focusWidget();
    for (const RideBox which : kEditorBoxes) {
        if (focus == editBox(which)) ETRPExit(which);
    }
    return !refused_;
}

void TFEditJizd::DBLookupComboBox6Click() {
    Database& db = mainWindow().database();
    Table& t = rides();
    // The secondary types follow the primary type chosen. A list that cannot
    // be read is said and the ride is left as it is.
    const Status primary = db.TTRNZ().locate("TRNZ_C", t.value("TRNZ_C"));
    if (!SearchReadOk(primary)) return;
    FieldChanges changes;
    // The secondary type must belong to the primary one.
    const Status secondary = db.TTRN().locate("TRN_C", t.value("TRN_C"));
    if (!SearchReadOk(secondary)) return;
    if (secondary.notFound() && !db.TTRN().isEmpty()) {
        StoreOk(db.TTRN().first());
        changes.push_back({"TRN_C", db.TTRN().value("TRN_C")});
    }
    const bool noRoutes = db.TTRNZ().getBool("ZADNE_TRS");
    const RouteFields before{t.getInt("TRS_C"), t.getInt("TRS_SMER")};
    const RouteFields after =
        RouteForPrimaryType(RideScreen::kEditor, noRoutes, before, ArrowButton1->pointsRight());
    if (after.route != before.route) changes.push_back({"TRS_C", Value(after.route)});
    if (after.direction != before.direction)
        changes.push_back({"TRS_SMER", Value(after.direction)});
    if (!changes.empty()) write(changes);
    Table1AfterScroll();
}

void TFEditJizd::ArrowButton1Click() {
    if (rides().isEmpty()) return;
    const bool right = !ArrowButton1->pointsRight();
    if (write({{"TRS_SMER", Value(right ? 1 : 2)}})) showDirection(right);
}

Status TFEditJizd::TTable1BeforePost(Table& t) {
    if (ShowMsgBoxQuiet(QString::fromUtf8(kConfirmStoreText), MsgKind::kConfirmation,
                        MsgButtons::kYesNo) == MsgResult::kNo) {
        t.cancel();
        Table1AfterScroll();
        return Status::Aborted();
    }
    FieldChanges changes;
    switch (CheckBeforeStoring(t.getBool("SR_MER"), t.getInt("THL_C"))) {
        case StoreCheck::kStoreUnmeasured:
            changes = HeartRateCleared();
            break;
        case StoreCheck::kStore:
            break;
        case StoreCheck::kRefuseWatchType:
            ShowMsgBoxQuiet(QString::fromUtf8(kWatchTypeRefusalText), MsgKind::kInformation,
                            MsgButtons::kOk);
            return Status::Aborted();
    }
    // The month code and the year follow the date, wherever it was changed.
    for (const FieldChange& c : DateDerivedChanges(t.value("DATUM")))
        changes.push_back(c);
    for (const FieldChange& c : changes) {
        if (!t.hasField(c.field) || t.value(c.field) == c.value) continue;
        KOLVIO_RETURN_IF_ERROR(t.setValue(c.field, c.value));
    }
    return Status::Ok();
}

void TFEditJizd::Button1Click() {
    Table& t = rides();
    if (t.isEmpty()) return;
    if (ShowMsgBoxQuiet(QString::fromUtf8(kConfirmDeleteText), MsgKind::kConfirmation,
                        MsgButtons::kYesNo) == MsgResult::kNo) {
        return;
    }
    // The ride's pending changes go with it, unasked.
    if (Editing(t)) t.cancel();
    StoreOk(t.deleteRecord());
    Table1AfterScroll();
}

bool TFEditJizd::settleChange() {
    leaving_ = true;
    leaveFocusedBox();
    leaving_ = false;
    Table& t = rides();
    if (!Editing(t)) return true;
    const Status st = t.post();  // asks, checks and stores
    if (!Editing(t)) return true;
    if (st.failed()) StoreOk(st);
    return false;
}

void TFEditJizd::closeEvent(QCloseEvent* event) {
    if (!mainWindow().isClosing()) {
        if (!settleChange()) {
            event->ignore();
            return;
        }
    } else if (Editing(rides())) {
        // The program is ending: a change that cannot be stored is dropped,
        // and the rider is told.
        const Status st = rides().post();
        if (Editing(rides())) {
            rides().cancel();
            ShowMsgBox(
                QStringLiteral("Změny aktuální jízdy nebylo možné zapsat, proto byly "
                               "zrušeny.%1")
                    .arg(st.failed() ? u'\n' + QString::fromStdString(st.message()) : QString()),
                MsgKind::kWarning, MsgButtons::kOk);
        }
    }
    TFData_Zakl::closeEvent(event);
}

void TFEditJizd::FormClose() {
    closing_ = true;
    handlers_.detachAll();
    mainWindow().database().TTRS().setFiltered(false);
}

}  // namespace kolvio
