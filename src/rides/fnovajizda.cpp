#include "rides/fnovajizda.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/form_hl.h"
#include "app/message_service.h"
#include "data/database/database.h"
#include "data/database/index_helpers.h"
#include "rides/figure_input.h"
#include "rides/ride_edit_rules.h"
#include "rides/ride_widgets.h"

namespace kolvio {

namespace {

Date ToDate(const QDate& d) {
    return Date::FromYmd(d.year(), d.month(), d.day()).value_or(Date());
}

// Runs `onFocus` whenever the watched control gets the focus.
class FocusInFilter final : public QObject {
public:
    FocusInFilter(QWidget* control, std::function<void()> onFocus)
        : QObject(control), onFocus_(std::move(onFocus)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) onFocus_();
        return false;
    }

private:
    std::function<void()> onFocus_;
};

constexpr RideBox kFigureBoxes[] = {
    RideBox::kETRP,   RideBox::kESTP, RideBox::kEMAX,  RideBox::kSrAvg, RideBox::kSrMax,
    RideBox::kSrKcal, RideBox::kSrX,  RideBox::kSrLim, RideBox::kSrPlp, RideBox::kSrPlc};

}  // namespace

TFNovaJizda::TFNovaJizda(TForm_hl& main) : TFData_Zakl(main), ride_(main.database().Table1()) {
    setObjectName(QStringLiteral("FNovaJizda"));
    setWindowTitle(QStringLiteral("Nová jízda"));
    Label1->setText(QStringLiteral("NOVÁ JÍZDA"));
    setHelpContext(101);
    buildLayout();
    buildMenus();
    acceptFileDrops();

    for (const RideBox which : kFigureBoxes)
        exits_.on(box(which), [this, which] { ETRPExit(which); });
    exits_.on(Edit2, [this] { Edit2Exit(); });
    for (QComboBox* lookup : routeLookups()) {
        new FocusInFilter(lookup, [this, lookup] { DBLookupComboBoxClick(lookup); });
        exits_.on(lookup, [this] { DBLookupComboBoxExit(); });
    }
    connect(UpDown1, &UpDown::clicked, this, &TFNovaJizda::UpDown1Click);
    connect(sr_mer, &QCheckBox::toggled, this, &TFNovaJizda::sr_merClick);
    connect(ArrowButton1, &ArrowButton::clicked, this, &TFNovaJizda::ArrowButton1Click);
    // After the lookup has written the type and moved the type list to it.
    connect(DBLookupComboBox6, &QComboBox::activated, this, &TFNovaJizda::DBLookupComboBox6Click);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TFNovaJizda::DateTimePicker1Change);
    connect(Button1, &QPushButton::clicked, this, &TFNovaJizda::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TFNovaJizda::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TFNovaJizda::Button2Click);

    FormCreate();
}

Table& TFNovaJizda::rides() const {
    return mainWindow().database().Table1();
}

Value TFNovaJizda::currentCode(Table& list, const char* field) {
    if (!list.isOpen() || list.isEmpty()) return Value();
    return list.value(field);
}

bool TFNovaJizda::setField(const char* field, const Value& value) {
    Table& t = rides();
    if (!inserting()) return false;
    if (!t.hasField(field)) return true;
    return StoreOk(t.setValue(field, value));
}

void TFNovaJizda::FormCreate() {
    NewRidePresets presets;
    StoreOk(readPresets(&presets));
    sr_x->setText(QString::fromStdString(figures_.presetAgeLimit(presets.ageLimit)));
    sr_lim->setText(QString::fromStdString(figures_.presetSetLimit(presets.setLimit)));
    sr_mer->setChecked(presets.measured);
    sr_merClick();
    DateTimePicker1->setDate(QDate::currentDate());
    if (!ImplHod()) return;
    DejImpChoices();
    applyRoutePresets(presets);
    DBLookupComboBox6Click();
}

Status TFNovaJizda::readPresets(NewRidePresets* presets) {
    const Status st = ReadLatestRide(rides(), &latest_);
    *presets = presetsOfLatest();
    return st;
}

NewRidePresets TFNovaJizda::presetsOfLatest() const {
    const SettingsFile& ini = mainWindow().settings();
    return PresetsFor(latest_, LoadNewRideChoices(ini), LoadAgeLimitSetting(ini));
}

bool TFNovaJizda::ImplHod() {
    Database& db = mainWindow().database();
    showDirection(true);
    // The date box's date: the ride is stored with the date it shows.
    ride_.append().set({{"TRS_C", currentCode(db.TTRS(), "TRS_C")},
                        {"TRS_SMER", Value(1)},
                        {"TRNZ_C", currentCode(db.TTRNZ(), "TRNZ_C")},
                        {"TRN_C", currentCode(db.TTRN(), "TRN_C")},
                        {"DATUM", ToDate(DateTimePicker1->date())},
                        {"KOL_C", currentCode(db.TTKOL(), "KOL_C")},
                        {"THL_C", currentCode(db.TTHLD(), "THL_C")}});
    if (StoreOk(ride_.status())) return true;
    ride_.cancel();
    return false;
}

void TFNovaJizda::DejImpChoices() {
    Database& db = mainWindow().database();
    const NewRideChoices choices = LoadNewRideChoices(mainWindow().settings());
    const std::pair<RememberedChoice, Table*> lists[] = {
        {RememberedChoice::kPrimaryType, &db.TTRNZ()},
        {RememberedChoice::kBike, &db.TTKOL()},
        {RememberedChoice::kWatchType, &db.TTHLD()}};
    for (const auto& [choice, list] : lists) {
        bool exists = false;
        if (StoreOk(RememberedRowExists(*list, choice, choices.code(choice), &exists)) && exists) {
            setField(CodeFieldOf(choice), Value(choices.code(choice)));
        }
    }
}

void TFNovaJizda::applyRoutePresets(const NewRidePresets& presets) {
    if (presets.route != -1) setField("TRS_C", Value(presets.route));
    if (presets.direction != -1 && presets.direction != rides().getInt("TRS_SMER")) {
        ArrowButton1Click();
    }
}

void TFNovaJizda::showZeroFigures() {
    // The age limit stays; the set limit starts from 0 like the figures.
    for (const RideBox which : kFigureBoxes) {
        if (which != RideBox::kSrX)
            box(which)->setText(QString::fromStdString(NewRideFigures::ZeroText(which)));
    }
}

void TFNovaJizda::ETRPExit(RideBox which) {
    // Nothing typed matters on the way to "ZRUŠ".
    if (closing_ || QApplication::focusWidget() == BKONEC) return;
    QLineEdit* edit = box(which);
    const LeaveResult result = figures_.leave(which, edit->text().toStdString());
    if (result.refusal) {
        refusedBox_ = edit;
        ShowRefusal(*result.refusal);
        RefocusLater(edit);
        return;
    }
    refusedBox_ = nullptr;
    if (result.show.eavs) EAVS->setText(QString::fromStdString(*result.show.eavs));
    if (result.show.srPlc) sr_plc->setText(QString::fromStdString(*result.show.srPlc));
    if (result.show.srPlp) sr_plp->setText(QString::fromStdString(*result.show.srPlp));
    if (which == RideBox::kSrLim) overLimitFromFile();
}

void TFNovaJizda::Edit2Exit() {
    if (closing_ || QApplication::focusWidget() == BKONEC) return;
    const LeaveResult result = figures_.leave(RideBox::kRiders, Edit2->text().toStdString());
    if (result.refusal) {
        refusedBox_ = Edit2;
        ShowRefusal(*result.refusal);
        RefocusLater(Edit2);
        return;
    }
    refusedBox_ = nullptr;
    const int riders = static_cast<int>(result.value);
    UpDown1->setMax(riders + 1);
    UpDown1->setPosition(riders);
    setField("OSOB", Value(riders));
}

void TFNovaJizda::UpDown1Click() {
    UpDown1->setMax(UpDown1->position() + 1);
    Edit2->setText(QString::number(UpDown1->position()));
}

void TFNovaJizda::sr_merClick() {
    const bool on = sr_mer->isChecked();
    for (QLineEdit* edit : heartBoxes())
        edit->setEnabled(on);
    hl_c_1->setEnabled(on);
    hl_c_2->setEnabled(on);
}

void TFNovaJizda::ArrowButton1Click() {
    const bool right = !ArrowButton1->pointsRight();
    showDirection(right);
    setField("TRS_SMER", Value(right ? 1 : 2));
}

void TFNovaJizda::DBLookupComboBox6Click() {
    Database& db = mainWindow().database();
    // The secondary types follow the primary type chosen. A list that cannot
    // be read is said and the ride is left as it is.
    const Status found = db.TTRNZ().locate("TRNZ_C", rides().value("TRNZ_C"));
    if (!SearchReadOk(found)) return;
    setField("TRN_C", currentCode(db.TTRN(), "TRN_C"));
    applyPrimaryTypeRoute();
}

void TFNovaJizda::applyPrimaryTypeRoute() {
    Database& db = mainWindow().database();
    // A primary type missing from its list allows routes; a list that cannot
    // be read is said and the route is left as it is.
    const Status found = db.TTRNZ().locate("TRNZ_C", rides().value("TRNZ_C"));
    if (!SearchReadOk(found)) return;
    const bool noRoutes = found.ok() && db.TTRNZ().getBool("ZADNE_TRS");
    const RouteFields route = RouteForPrimaryType(
        RideScreen::kNewRide, noRoutes, {rides().getInt("TRS_C"), rides().getInt("TRS_SMER")},
        ArrowButton1->pointsRight());
    setField("TRS_SMER", Value(route.direction));
    setField("TRS_C", Value(route.route));
    db.TTRS().setFiltered(!noRoutes);
    GBTrat->setVisible(!noRoutes);
    placeComputerFigures(!noRoutes);
}

void TFNovaJizda::DBLookupComboBoxClick(QComboBox* lookup) {
    if (closing_) return;
    Table& routes = mainWindow().database().TTRS();
    const std::string field = RouteListField(lookup).toStdString();
    if (field.empty()) return;
    if (EqualsIgnoreCase(routes.indexName(), field)) return;
    if (!IndexExists(routes, field) && !StoreOk(EnsureIndex(routes, field, field))) return;
    StoreOk(routes.setIndexName(field));
}

void TFNovaJizda::DBLookupComboBoxExit() {
    Table& routes = mainWindow().database().TTRS();
    if (!routes.indexName().empty()) StoreOk(routes.setIndexName(""));
}

void TFNovaJizda::DateTimePicker1Change() {
    setField("DATUM", ToDate(DateTimePicker1->date()));
}

void TFNovaJizda::Button1Click() {
    {
        const QSignalBlocker block(DateTimePicker1);
        DateTimePicker1->setDate(QDate::currentDate().addDays(-1));
    }
    DateTimePicker1Change();
}

void TFNovaJizda::Button3Click() {
    {
        const QSignalBlocker block(DateTimePicker1);
        DateTimePicker1->setDate(QDate::currentDate());
    }
    DateTimePicker1Change();
}

bool TFNovaJizda::leaveFocusedBox() {
    // A box left by a click on "PŘIDEJ" has been checked already; one that
    // still has the focus (a key took the rider here) is checked now.
    QWidget* focus = QApplication::focusWidget();
    for (const RideBox which : kFigureBoxes) {
        if (focus == box(which)) ETRPExit(which);
    }
    if (focus == Edit2) Edit2Exit();
    return !(refusedBox_ && refusedBox_->isEnabled());
}

void TFNovaJizda::Button2Click() {
    // A ride that could not be appended (the table could not be changed) is
    // tried again, so that the rider hears why nothing can be stored.
    if ((!inserting() && !ImplHod()) || !leaveFocusedBox()) return;
    const bool measured = sr_mer->isChecked();
    switch (figures_.checkBeforeSave(measured)) {
        case SaveCheck::kZeroComputerFigures:
            ShowMsgBox(QString::fromUtf8(kZeroComputerFiguresText), MsgKind::kWarning,
                       MsgButtons::kOk);
            return;
        case SaveCheck::kZeroHeartFigures:
            if (ShowMsgBox(QString::fromUtf8(kZeroHeartFiguresText), MsgKind::kConfirmation,
                           MsgButtons::kYesNo) == MsgResult::kNo) {
                return;
            }
            break;
        case SaveCheck::kOk:
            break;
    }
    // A measured ride needs a watch type, as the editor demands before it
    // stores a ride.
    if (measured && rides().getInt("THL_C") == 0) {
        ShowMsgBoxQuiet(QString::fromUtf8(kWatchTypeRefusalText), MsgKind::kInformation,
                        MsgButtons::kOk);
        hl_c_1->setFocus();
        return;
    }
    if (ShowMsgBox(QString::fromUtf8(kConfirmAddText), MsgKind::kConfirmation,
                   MsgButtons::kYesNo) == MsgResult::kNo) {
        return;
    }
    RideEntry entry;
    entry.measured = measured;
    entry.riders = ParseWholeNumber(Edit2->text().toStdString()).value_or(UpDown1->position());
    entry.description = Edit1->text().toStdString();
    entry.date = ToDate(DateTimePicker1->date());
    for (const FieldChange& change : figures_.storedValues(entry)) {
        if (!setField(change.field.c_str(), change.value)) return;
    }
    // Not RowEdit::commit(), which drops a ride it cannot store: the ride
    // stays pending, whole, for another "PŘIDEJ" once the disk has room.
    if (!StoreOk(rides().post())) return;
    // The stored ride is the current row now.
    latest_ = LatestAfterStoring(latest_, AsLatestRide(rides()));
    const Status remembered = RememberAgeLimit(mainWindow().settings(), figures_.ageLimit);
    if (remembered.failed()) settingsFailed(remembered);

    if (PoZasKonec->isChecked()) {
        closeScreen();
        return;
    }
    const NewRidePresets presets = presetsOfLatest();
    activity_.reset();
    if (!ImplHod()) return;
    figures_.resetAfterSave();
    showZeroFigures();
    DejImpChoices();
    applyRoutePresets(presets);
    DBLookupComboBox6Click();
}

void TFNovaJizda::remember(RememberedChoice choice, bool save) {
    const Value code = rides().value(CodeFieldOf(choice));
    SettingsFile& ini = mainWindow().settings();
    const Status st = save && !code.isNull() ? RememberChoice(ini, choice, code.asInt())
                                             : ForgetChoice(ini, choice);
    if (st.failed()) settingsFailed(st);
}

void TFNovaJizda::rememberRoute(bool on) {
    const Status st = RememberRouteOfLatest(mainWindow().settings(), on);
    if (st.failed()) settingsFailed(st);
}

void TFNovaJizda::settingsFailed(const Status& st) {
    ShowMsgBox(QStringLiteral("Nastavení nové jízdy nelze uložit:\n%1\n"
                              "Zkontroluj, zda lze zapisovat do souboru nastavení.")
                   .arg(QString::fromStdString(st.message())),
               MsgKind::kError, MsgButtons::kOk);
}

void TFNovaJizda::JdiNaLastTRS() {
    Table& routes = mainWindow().database().TTRS();
    const std::string index = routes.indexName();
    if (!StoreOk(routes.setIndexName("")) || !StoreOk(routes.last())) return;
    const Value code = currentCode(routes, "TRS_C");
    StoreOk(routes.setIndexName(index));
    if (!code.isNull()) setField("TRS_C", code);
}

void TFNovaJizda::JdiNaAktKOL() {
    setField("KOL_C", currentCode(mainWindow().database().TTKOL(), "KOL_C"));
}

void TFNovaJizda::JdiNaAktTypJZD() {
    Database& db = mainWindow().database();
    const Value primary = currentCode(db.TTRNZ(), "TRNZ_C");
    const Value secondary = currentCode(db.TTRN(), "TRN_C");
    setField("TRNZ_C", primary);
    setField("TRN_C", secondary);
    applyPrimaryTypeRoute();
}

void TFNovaJizda::JdiNaAktHLD() {
    setField("THL_C", currentCode(mainWindow().database().TTHLD(), "THL_C"));
}

void TFNovaJizda::FormClose() {
    closing_ = true;
    Database& db = mainWindow().database();
    if (!db.TTRS().indexName().empty()) StoreOk(db.TTRS().setIndexName(""));
    db.TTRS().setFiltered(false);
    ride_.cancel();
}

}  // namespace kolvio
