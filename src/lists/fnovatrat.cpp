#include "lists/fnovatrat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "lists/list_screen.h"
#include "lists/preset_lists.h"
#include "lists/route_text.h"

namespace kolvio {

namespace {

constexpr int kPlaceLength = 20;
constexpr int kCodeLength = 20;
constexpr int kLatestRides = 50;

std::string Std(const QString& text) {
    return text.toStdString();
}

QStringList FromStd(const std::vector<std::string>& list) {
    QStringList out;
    for (const std::string& s : list)
        out.append(QString::fromStdString(s));
    return out;
}

std::vector<std::string> ToStd(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

}  // namespace

TFNovaTrat::TFNovaTrat(TForm_hl& main)
    : TFData_Zakl(main), rule_(kRouteList, main.database(), rider_) {
    setObjectName(QStringLiteral("FNovaTrat"));
    setWindowTitle(QStringLiteral("Nová trať"));
    Label1->setText(QStringLiteral("Nová trať"));
    setHelpContext(201);

    QGridLayout* grid = nullptr;
    QGroupBox* places = Group(this, QStringLiteral("Start a cíl:"), &grid);
    CBStart =
        Named(EditableList(places, {}, kPlaceLength), "CBStart", QStringLiteral("Startovní bod"));
    CBCil = Named(EditableList(places, {}, kPlaceLength), "CBCil", QStringLiteral("Cílový bod"));
    AddRow(grid, QStringLiteral("&Start:"), CBStart);
    AddRow(grid, QStringLiteral("&Cíl:"), CBCil);

    QGroupBox* codes = Group(this, QStringLiteral("Kódy:"), &grid);
    Edit2 = Named(new QLineEdit(codes), "Edit2", QStringLiteral("Zadej kód 1 pro zadávanou trať"));
    Edit3 = Named(new QLineEdit(codes), "Edit3",
                  QStringLiteral("Zadej jedinečný kód 2 pro zadávanou trať nebo nezadej nic"));
    Edit2->setMaxLength(kCodeLength);
    Edit3->setMaxLength(kCodeLength);
    AddRow(grid, QStringLiteral("Kód 1:"), Edit2);
    AddRow(grid, QStringLiteral("Kód 2:"), Edit3);

    QGroupBox* waypoints = Group(this, QString(), &grid);
    CBPrujezd = Named(EditableList(waypoints, {}, 0), "CBPrujezd",
                      QStringLiteral("Výběr klasických průjezdních bodů"));
    BPridej = Named(new QPushButton(QStringLiteral("&Přidej"), waypoints), "BPridej",
                    QStringLiteral("Přidání vybraného průjezdního bodu do průjezdních bodů"));
    Button1 = Named(new QPushButton(QStringLiteral("Př&epiš"), waypoints), "Button1",
                    QStringLiteral("Přepsání průjezdních bodů vybraným průjezdním bodem"));
    Edit1 = Named(new QLineEdit(waypoints), "Edit1",
                  QStringLiteral("Zadej průjezdní body oddělené středníkem, "
                                 "například Beroun;Zdice"));
    Edit1->setMaxLength(kWaypointsMaxLength);
    Edit1->setAlignment(Qt::AlignCenter);
    AddRow(grid, QStringLiteral("P&růjezdní body - výběr:"), CBPrujezd);
    auto* choose = new QHBoxLayout;
    choose->addWidget(BPridej);
    choose->addWidget(Button1);
    choose->addStretch();
    grid->addLayout(choose, grid->rowCount(), 1);
    AddRow(grid, QStringLiteral("&Průjezdní body:"), Edit1);

    auto* top = new QHBoxLayout;
    top->addWidget(places);
    top->addWidget(codes);
    body()->addLayout(top);
    body()->addWidget(waypoints);
    body()->addStretch();

    Button2 = Named(new QPushButton(QStringLiteral("PŘIDEJ"), this), "Button2",
                    QStringLiteral("Přidej do databáze"));
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button2);
    PoZasKonec->setToolTip(QStringLiteral("Po zadání trati ukončí/neukončí dialog"));
    PoZasKonec->setStatusTip(PoZasKonec->toolTip());
    BKONEC->setToolTip(QStringLiteral("Zrušení zadávaní nové trati"));
    BKONEC->setStatusTip(BKONEC->toolTip());

    rider_.box("TRS_MEZI", Edit1);
    exits_.on(CBStart, [this] { CBStartExit(CBStart); });
    exits_.on(CBCil, [this] { CBStartExit(CBCil); });
    exits_.on(Edit2, [this] { Edit2Exit(); });
    exits_.on(Edit3, [this] { Edit3Exit(); });
    connect(BPridej, &QPushButton::clicked, this, &TFNovaTrat::BPridejClick);
    connect(Button1, &QPushButton::clicked, this, &TFNovaTrat::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFNovaTrat::Button2Click);

    FormCreate();
}

Table& TFNovaTrat::routes() const {
    return mainWindow().database().TTRS();
}

void TFNovaTrat::FormCreate() {
    Nacti50Poslednich();
}

void TFNovaTrat::Nacti50Poslednich() {
    RouteSuggestions lists;
    lists.starts = ToStd(PresetStartPlaces());
    lists.finishes = lists.starts;
    lists.waypoints = ToStd(PresetWaypoints());
    Database& db = mainWindow().database();
    // Without suggestions the presets are still offered, sorted.
    if (!StoreOk(CollectRouteSuggestions(db.Table1(), db.TTRS(), kLatestRides, &lists))) {
        SortSuggestions(lists.starts);
        SortSuggestions(lists.finishes);
        SortSuggestions(lists.waypoints);
    }
    CBStart->addItems(FromStd(lists.starts));
    CBCil->addItems(FromStd(lists.finishes));
    CBPrujezd->addItems(FromStd(lists.waypoints));
    // The start and finish lists show the first preset place.
    CBStart->setEditText(PresetStartPlaces().constFirst());
    CBCil->setEditText(PresetStartPlaces().constFirst());
}

void TFNovaTrat::CBStartExit(QComboBox* list) {
    if (closing_ || !list->currentText().isEmpty()) return;
    Warn(QStringLiteral("Nelze zadat prázdné hodnoty"));
    RefocusLater(list);
}

void TFNovaTrat::Edit2Exit() {
    if (closing_ || !Edit2->text().isEmpty()) return;
    Inform(QStringLiteral("Není doporučeno zadat prázdné hodnoty"));
}

void TFNovaTrat::Edit3Exit() {
    if (closing_ || Edit3->text().isEmpty()) return;
    if (rule_.occurs("TRS_N2", Std(Edit3->text())) != true) return;
    Warn(QStringLiteral("Jiná trať již obsahuje stejný kód -> nelze"));
    Edit3->clear();
    RefocusLater(Edit3);
}

void TFNovaTrat::BPridejClick() {
    const QString place = CBPrujezd->currentText();
    if (place.isEmpty()) return;
    if (!WaypointFits(Std(Edit1->text()), Std(place))) {
        Warn(QStringLiteral("Celková délka textu přesahuje mez 80 znaků\nnelze přidat!"));
        BPridej->setFocus();
        return;
    }
    Edit1->setText(QString::fromStdString(AppendWaypoint(Std(Edit1->text()), Std(place))));
}

void TFNovaTrat::Button1Click() {
    // The box keeps at most 80 characters.
    Edit1->setText(CBPrujezd->currentText());
}

void TFNovaTrat::Button2Click() {
    const RowValues values{{"TRS_N1", Std(Edit2->text())},
                           {"TRS_N2", Std(Edit3->text())},
                           {"TRS_MEZI", Std(Edit1->text())},
                           {"TRS_START", Std(CBStart->currentText())},
                           {"TRS_CIL", Std(CBCil->currentText())}};
    if (!rule_.mayAdd(values) || !rule_.confirmAdd()) return;
    RowEdit row(routes());
    if (!StoreOk(rule_.add(values, row))) return;
    if (PoZasKonec->isChecked()) {
        StoreOk(routes().last());
        closeScreen();
    } else {
        Edit1->clear();
        Edit2->clear();
        Edit3->clear();
    }
}

void TFNovaTrat::FormClose() {
    closing_ = true;
    Table& trs = routes();
    if (trs.state() == DatasetState::kInsert) trs.cancel();
}

}  // namespace kolvio
