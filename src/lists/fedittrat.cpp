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

TFEditTrat::TFEditTrat(TForm_hl& main) : TFData_Zakl(main) {
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

    handlers_.attach(trs, TableEvent::kBeforePost, [this](Table& t) { return TTRSBeforePost(t); });
    handlers_.attach(trs, TableEvent::kAfterPost, [this](Table& t) { return TTRSAfterPost(t); });
}

TFEditTrat::~TFEditTrat() = default;

Table& TFEditTrat::routes() const {
    return mainWindow().database().TTRS();
}

Status TFEditTrat::TTRSBeforePost(Table& trs) {
    // What is typed but not yet in the row counts, as when the box is left.
    bindings_.applyAll();
    if (trs.getString("TRS_MEZI").empty()) {
        Warn(QStringLiteral("Nejsou zadány žádné průjezdní body\nruším změny!"));
        RefocusLater(DBEdit5);
        trs.cancel();
        return Status::Aborted();
    }
    if (!Confirm(QStringLiteral("Zapsat provedenou změnu?"))) {
        trs.cancel();
        return Status::Aborted();
    }
    return Status::Ok();
}

Status TFEditTrat::TTRSAfterPost(Table& trs) {
    undone_ = false;
    bool occurs = false;
    if (!StoreOk(ValueOccurs(trs, "TRS_MEZI", trs.getString("TRS_MEZI"), 2, &occurs))) {
        return Status::Ok();
    }
    if (occurs &&
        !Confirm(QStringLiteral("Zadané průjezdní body již obsahuje \njiná trať - pokračovat?"))) {
        Zpet();
        return Status::Ok();
    }
    const std::string code2 = trs.getString("TRS_N2");
    if (code2.empty() || !StoreOk(ValueOccurs(trs, "TRS_N2", code2, 2, &occurs)) || !occurs) {
        return Status::Ok();
    }
    Warn(QStringLiteral("Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat!"));
    Zpet();
    return Status::Ok();
}

void TFEditTrat::Zpet() {
    Table& trs = routes();
    undone_ = true;
    // The row as it was before the change: the table keeps it until the
    // after-store checks are over.
    StoreOk(handlers_.without(trs, [&] { return WriteBackOldRow(trs); }));
}

void TFEditTrat::Button1Click() {
    Table& trs = routes();
    if (trs.isEmpty()) return;
    if (trs.recordCount() == 2) {
        Warn(QStringLiteral("Alespoň jedna trať musí zůstat\n=> nelze smazat"));
        return;
    }
    const int64_t code = trs.getInt("TRS_C");
    if (code == 0) {
        Warn(QStringLiteral("Tuto trať nelze smazat!"));
        return;
    }
    bool used = false;
    if (!StoreOk(UsedInRides(mainWindow().database().Table1(), "TRS_C", code, &used))) return;
    if (used) {
        Warn(QStringLiteral("Trať je již použita!\n=> nelze smazat"));
        return;
    }
    if (Confirm(QStringLiteral("Opravdu trať vymazat?"))) StoreOk(trs.deleteRecord());
}

void TFEditTrat::MOtocPoradiClick() {
    Table& trs = routes();
    if (trs.isEmpty()) return;
    bindings_.applyAll();
    if (WaypointCount(trs.getString("TRS_MEZI")) <= 1) return;
    if (!Confirm(QStringLiteral("Opravdu otočit pořadí průjezdních bodů?"))) return;
    if (trs.state() == DatasetState::kEdit) {
        undone_ = false;
        // A change refused before or after storing ends the reversal.
        if (!StoreOk(trs.post()) || undone_) return;
    }
    const int64_t code = trs.getInt("TRS_C");
    Table& rides = mainWindow().database().Table1();
    bool used = false;
    if (!StoreOk(UsedInRides(rides, "TRS_C", code, &used))) return;
    const bool flip =
        used && Confirm(QStringLiteral(
                    "Trať je již použita,\nmám otočit směr jízdy v jízdách danou tratí?"));

    const std::string reversed = ReverseWaypoints(trs.getString("TRS_MEZI"));
    undone_ = false;
    const Status st = handlers_.without(trs, TableEvent::kBeforePost, [&] {
        RowEdit row(trs);
        return row.edit().set("TRS_MEZI", reversed).commit();
    });
    // The rides turn only with their route: a reversal written back by the
    // after-store checks leaves them as they were.
    if (StoreOk(st) && !undone_ && flip) StoreOk(FlipRideDirections(rides, code));
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
