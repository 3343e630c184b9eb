#include "lists/fedittrat.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/widgets/db_grid.h"
#include "lists/list_rules.h"
#include "lists/route_text.h"

namespace kolvio {

TFEditTrat::TFEditTrat(TForm_hl& main)
    : TFData_Zakl(main), rule_(kRouteList, main.database(), rider_) {
    setObjectName(QStringLiteral("FEditTrat"));
    setWindowTitle(QStringLiteral("Editace trati"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ TRATÍ"));
    setHelpContext(601);
    PoZasKonec->hide();
    Table& trs = routes();

    auto* routesBox = new QGroupBox(QStringLiteral("Zadané tratě:"), this);
    DBGrid1 = Named(new DBGrid(trs,
                               {{QStringLiteral("TRS_C"), QStringLiteral("Číslo")},
                                {QStringLiteral("TRS_N1"), QStringLiteral("Kód 1")},
                                {QStringLiteral("TRS_N2"), QStringLiteral("Kód 2")},
                                {QStringLiteral("TRS_START"), QStringLiteral("Start")},
                                {QStringLiteral("TRS_MEZI"), QStringLiteral("Průjezdní body")},
                                {QStringLiteral("TRS_CIL"), QStringLiteral("Cíl")}},
                               routesBox),
                    "DBGrid1");
    DBGrid1->setColumnWeights({30, 60, 60, 60, 265, 60}, 560);
    DBGrid1->setRowIndicator(true);
    (new QVBoxLayout(routesBox))->addWidget(DBGrid1);

    QGridLayout* grid = nullptr;
    QGroupBox* change = Group(this, QStringLiteral("Změna a vymazání tratě:"), &grid);
    DBEdit1 = Named(new QLineEdit(change), "DBEdit1");
    DBEdit2 = Named(new QLineEdit(change), "DBEdit2");
    DBEdit3 = Named(new QLineEdit(change), "DBEdit3");
    DBEdit5 = Named(new QLineEdit(change), "DBEdit5");
    DBEdit4 = Named(new QLineEdit(change), "DBEdit4");
    // Two boxes a row, so that the grid above shows enough routes.
    const std::pair<const char*, QLineEdit*> rows[] = {{"Kód 1:", DBEdit1},
                                                       {"Kód 2:", DBEdit2},
                                                       {"Start:", DBEdit3},
                                                       {"Cíl:", DBEdit4},
                                                       {"Průjezdní body:", DBEdit5}};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(QString::fromUtf8(rows[i].first), change);
        label->setBuddy(rows[i].second);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(rows[i].second, i / 2, (i % 2) * 2 + 1, 1, i == 4 ? 2 : 1);
    }
    const std::pair<QLineEdit*, const char*> bound[] = {{DBEdit1, "TRS_N1"},
                                                        {DBEdit2, "TRS_N2"},
                                                        {DBEdit3, "TRS_START"},
                                                        {DBEdit5, "TRS_MEZI"},
                                                        {DBEdit4, "TRS_CIL"}};
    // Each box is limited to its field's width by its binding.
    for (const auto& [edit, field] : bound)
        bindings_.add(new LineEditBinding(trs, QString::fromLatin1(field), edit));
    Button1 = Named(new QPushButton(QStringLiteral("Vymaž"), change), "Button1",
                    QStringLiteral("Vymaže aktivní trať z databáze"));
    grid->addWidget(Button1, 2, 3, Qt::AlignRight);

    PMenu1 = Named(new QMenu(this), "PMenu1");
    MOtocPoradi = Named(PMenu1->addAction(QStringLiteral("otoč &pořadí")), "MOtocPoradi");
    DBEdit5->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBEdit5, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PMenu1->popup(DBEdit5->mapToGlobal(at)); });

    body()->addWidget(routesBox, 1);
    body()->addWidget(change);

    connect(MOtocPoradi, &QAction::triggered, this, &TFEditTrat::MOtocPoradiClick);
    connect(Button1, &QPushButton::clicked, this, &TFEditTrat::Button1Click);
    connect(DBGrid1, &DBGrid::titleClicked, this, &TFEditTrat::DBGrid1TitleClick);

    rider_.box("TRS_MEZI", DBEdit5);
    // What is typed but not yet in the row counts, as when the box is left.
    rule_.attachChangeChecks(handlers_, [this] { bindings_.applyAll(); });
}

TFEditTrat::~TFEditTrat() = default;

Table& TFEditTrat::routes() const {
    return mainWindow().database().TTRS();
}

void TFEditTrat::Button1Click() {
    rule_.deleteCurrent();
}

void TFEditTrat::MOtocPoradiClick() {
    Table& trs = routes();
    if (trs.isEmpty()) return;
    bindings_.applyAll();
    if (WaypointCount(trs.getString("TRS_MEZI")) <= 1) return;
    if (!Confirm(QStringLiteral("Opravdu otočit pořadí průjezdních bodů?"))) return;
    // A change refused before or after storing ends the reversal.
    if (trs.state() == DatasetState::kEdit && (!StoreOk(trs.post()) || rule_.writtenBack())) return;
    const std::optional<bool> used = rule_.usedInRides();
    if (!used) return;
    const bool flip =
        *used && Confirm(QStringLiteral(
                     "Trať je již použita,\nmám otočit směr jízdy v jízdách danou tratí?"));

    const int64_t code = trs.getInt("TRS_C");
    const std::string reversed = ReverseWaypoints(trs.getString("TRS_MEZI"));
    const Status st = handlers_.without(trs, TableEvent::kBeforePost, [&] {
        RowEdit row(trs);
        return row.edit().set("TRS_MEZI", reversed).commit();
    });
    // The rides turn only with their route: a reversal written back by the
    // after-store checks leaves them as they were.
    if (StoreOk(st) && !rule_.writtenBack() && flip) {
        StoreOk(FlipRideDirections(mainWindow().database().Table1(), code));
    }
}

void TFEditTrat::DBGrid1TitleClick(int column) {
    SortGridByColumn(*DBGrid1, column, false);
    ordered_ = ordered_ || !routes().indexName().empty();
}

void TFEditTrat::FormClose() {
    Table& trs = routes();
    bindings_.applyAll();
    if (trs.state() == DatasetState::kEdit) {
        const Status st = trs.post();
        if (!StoreOk(st)) trs.cancel();
    }
    handlers_.detachAll();
    if (ordered_) StoreOk(trs.setIndexName(""));
}

}  // namespace kolvio
