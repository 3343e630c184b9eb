#include "query/list_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/message_service.h"
#include "app/widgets/db_grid.h"
#include "data/database/database.h"
#include "query/builder_parts.h"
#include "query/criteria.h"
#include "query/ride_history.h"

namespace kolvio {

namespace {

QString Text(const Table& table, const char* field) {
    return QString::fromStdString(table.getString(field));
}

std::function<QStringList()> Names(const Table& table, std::vector<const char*> fields) {
    return [&table, fields] {
        QStringList names;
        for (const char* f : fields)
            names.append(Text(table, f));
        return names;
    };
}

// "Použít" with "výběr ANO"/"výběr NE" under a page's controls.
QHBoxLayout* UseRow(QWidget* page, QCheckBox** use, YesNoChoice** choice) {
    *use = Control(new QCheckBox(QStringLiteral("Použít"), page), "CBPouzit");
    *choice = new YesNoChoice(page);
    auto* row = new QHBoxLayout;
    row->addWidget(*use);
    row->addWidget(*choice);
    row->addStretch();
    return row;
}

QPushButton* PageButton(QWidget* parent, const char* name, const char* caption) {
    auto* b = Control(new QPushButton(QString::fromUtf8(caption), parent), name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

PickList::PickList(QWidget* parent, Table& table, const Setup& setup)
    : QWidget(parent), table_(table), codeField_(setup.codeField), names_(setup.names) {
    auto* gridBox = new QGroupBox(setup.gridTitle, this);
    grid = Control(new DBGrid(table, setup.gridColumns, gridBox), "DBGrid");
    const int columns = static_cast<int>(setup.gridColumns.size());
    grid->setColumnWeights(QList<int>(columns, 1), columns);
    auto* gridLayout = new QVBoxLayout(gridBox);
    gridLayout->setContentsMargins(4, 2, 4, 4);
    gridLayout->addWidget(grid);
    add = PageButton(this, "BPridej", setup.addCaption.toUtf8().constData());
    add->setToolTip(QStringLiteral("Přidá aktivní do výběru"));
    add->setStatusTip(add->toolTip());
    listBox = new QGroupBox(setup.listTitle, this);
    list = Control(new ChosenList(setup.listColumns, listBox), "ListView");
    remove = PageButton(listBox, "BVymaz", "X");
    remove->setToolTip(QStringLiteral("Odebere vybraný řádek z výběru"));
    remove->setStatusTip(remove->toolTip());
    using Arrangement = Setup::Arrangement;
    // "X" beside a wide list, under a narrow one.
    QBoxLayout* listLayout = setup.arrangement == Arrangement::kUnder
                                 ? static_cast<QBoxLayout*>(new QHBoxLayout(listBox))
                                 : static_cast<QBoxLayout*>(new QVBoxLayout(listBox));
    listLayout->setContentsMargins(4, 2, 4, 4);
    listLayout->addWidget(list, 1);
    listLayout->addWidget(remove, 0, Qt::AlignTop | Qt::AlignRight);

    QBoxLayout* layout = setup.arrangement == Arrangement::kUnder
                             ? static_cast<QBoxLayout*>(new QVBoxLayout(this))
                             : static_cast<QBoxLayout*>(new QHBoxLayout(this));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(gridBox, 3);
    layout->addWidget(add, 0, Qt::AlignCenter);
    if (setup.arrangement != Arrangement::kApart) layout->addWidget(listBox, 2);

    connect(add, &QPushButton::clicked, this, [this] {
        if (addCurrent()) emit changed();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (list->removeSelected()) emit changed();
    });
}

bool PickList::addCurrent() {
    if (!table_.isOpen() || table_.isEmpty() || table_.rowNumber() < 0) return false;
    return list->add(table_.getInt(codeField_), names_());
}

bool PositionOnCode(Table& table, const char* field, const Value& code) {
    if (!table.isOpen()) return false;
    const Status st = table.locate(field, Value(code.asDouble()));
    return SearchReadOk(st) && st.ok();
}

std::vector<Value> LatestRideCodes(Database& db, const std::vector<std::string_view>& fields) {
    std::optional<std::vector<Value>> values;
    const Status st = LatestRideValues(db.Table1(), fields, &values);
    if (!st.ok()) {
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
        return {};
    }
    return values ? *values : std::vector<Value>();
}

RoutesPage::RoutesPage(QWidget* parent, Database& db, std::string* fragment) : QWidget(parent) {
    Table& routes = db.TTRS();
    picks = new PickList(this, routes,
                         {QStringLiteral("Trasy k výběru:"),
                          {{QStringLiteral("TRS_N1"), QStringLiteral("kód 1")},
                           {QStringLiteral("TRS_N2"), QStringLiteral("kód 2")},
                           {QStringLiteral("TRS_MEZI"), QStringLiteral("průjezdní body")},
                           {QStringLiteral("TRS_START"), QStringLiteral("start")},
                           {QStringLiteral("TRS_CIL"), QStringLiteral("cíl")}},
                          "TRS_C",
                          Names(routes, {"TRS_N1", "TRS_N2", "TRS_MEZI"}),
                          {QStringLiteral("číslo"), QStringLiteral("kód 1"),
                           QStringLiteral("kód 2"), QStringLiteral("průjezdní body")},
                          QStringLiteral("Vybrané trasy:"),
                          QStringLiteral("\\/"),
                          PickList::Setup::Arrangement::kUnder});
    picks->grid->setColumnWeights({50, 50, 200, 80, 80}, 460);
    picks->add->installEventFilter(this);
    picks->remove->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(picks, 1);
    layout->addLayout(UseRow(this, &CBPouzit, &Vyber));
    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) {
        *f = CodesFragment("jizdy.trs_c", picks->list->codes(), Vyber->negate());
        return !f->empty();
    });
    connect(picks, &PickList::changed, criterion, &Criterion::invalidate);
    connect(Vyber, &YesNoChoice::changed, criterion, &Criterion::invalidate);
    connect(picks->grid, &DBGrid::titleClicked, this, [this](int column) {
        SortGridByColumn(*picks->grid, column, false);
        ordered = true;
    });
}

bool RoutesPage::eventFilter(QObject* watched, QEvent* event) {
    // Pointing at "\/" or "X" readies the grid or the list it works on.
    if (event->type() == QEvent::Enter) {
        if (watched == picks->add) picks->grid->setFocus(Qt::MouseFocusReason);
        if (watched == picks->remove) picks->list->setFocus(Qt::MouseFocusReason);
    }
    return QWidget::eventFilter(watched, event);
}

RideTypePage::RideTypePage(QWidget* parent, Database& db, std::string* fragment)
    : QWidget(parent), db_(db) {
    Table& primaryTypes = db.TTRNZ();
    Table& secondaryTypes = db.TTRN();
    primary = new PickList(this, primaryTypes,
                           {QStringLiteral("Základní typ:"),
                            {{QStringLiteral("TRNZ_N"), QStringLiteral("název")}},
                            "TRNZ_C",
                            Names(primaryTypes, {"TRNZ_N"}),
                            {QStringLiteral("číslo"), QStringLiteral("název")},
                            QStringLiteral("Vybrané základní typy:"),
                            QStringLiteral(">"),
                            PickList::Setup::Arrangement::kApart});
    secondary = new PickList(
        this, secondaryTypes,
        {QStringLiteral("Vedlejší typ:"),
         {{QStringLiteral("TRN_N"), QStringLiteral("název")}},
         "TRN_C",
         [&secondaryTypes, &primaryTypes] {
             return QStringList{Text(secondaryTypes, "TRN_N"), Text(primaryTypes, "TRNZ_N")};
         },
         {QStringLiteral("číslo"), QStringLiteral("vedlejší"), QStringLiteral("základní")},
         QStringLiteral("Vybrané vedlejší typy:"),
         QStringLiteral(">"),
         PickList::Setup::Arrangement::kApart});

    auto* kindBox = new QGroupBox(QStringLiteral("Jaký typ použít:"), this);
    RBZakladni = Control(new QRadioButton(QStringLiteral("základní"), kindBox), "RBZakladni");
    RBVedlejsi = Control(new QRadioButton(QStringLiteral("vedlejší"), kindBox), "RBVedlejsi");
    RBZakladni->setChecked(true);
    auto* kinds = new QVBoxLayout(kindBox);
    kinds->setContentsMargins(6, 2, 6, 2);
    kinds->addWidget(RBZakladni);
    kinds->addWidget(RBVedlejsi);
    BPosledni = PageButton(this, "BPosledni", "Poslední použitý typ");

    // The grids side by side; under them the list of the chosen kind.
    lists = new QStackedWidget(this);
    lists->addWidget(primary->listBox);
    lists->addWidget(secondary->listBox);
    auto* grids = new QHBoxLayout;
    grids->addWidget(primary, 1);
    grids->addWidget(secondary, 1);
    auto* chosen = new QHBoxLayout;
    chosen->addWidget(kindBox);
    chosen->addWidget(lists, 1);
    chosen->addWidget(BPosledni, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(grids, 3);
    layout->addLayout(chosen, 2);
    layout->addLayout(UseRow(this, &CBPouzit, &Vyber));

    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) {
        *f = RBZakladni->isChecked()
                 ? CodesFragment("jizdy.trnz_c", primary->list->codes(), Vyber->negate())
                 : CodesFragment("jizdy.trn_c", secondary->list->codes(), Vyber->negate());
        return !f->empty();
    });
    connect(RBVedlejsi, &QRadioButton::toggled, this, [this](bool secondaryKind) {
        lists->setCurrentIndex(secondaryKind ? 1 : 0);
        criterion->invalidate();
    });
    connect(primary->add, &QPushButton::clicked, RBZakladni,
            [this] { RBZakladni->setChecked(true); });
    connect(secondary->add, &QPushButton::clicked, RBVedlejsi,
            [this] { RBVedlejsi->setChecked(true); });
    connect(primary, &PickList::changed, criterion, &Criterion::invalidate);
    connect(secondary, &PickList::changed, criterion, &Criterion::invalidate);
    connect(Vyber, &YesNoChoice::changed, criterion, &Criterion::invalidate);
    connect(BPosledni, &QPushButton::clicked, this, &RideTypePage::BPosledniClick);
}

void RideTypePage::BPosledniClick() {
    const std::vector<Value> codes = LatestRideCodes(db_, {"TRNZ_C", "TRN_C"});
    if (codes.size() != 2) return;
    // The secondary types show those of the current primary type.
    if (PositionOnCode(db_.TTRNZ(), "TRNZ_C", codes[0]))
        PositionOnCode(db_.TTRN(), "TRN_C", codes[1]);
}

BikePage::BikePage(QWidget* parent, Database& db, std::string* fragment)
    : QWidget(parent), db_(db) {
    Table& bikes = db.TTKOL();
    picks =
        new PickList(this, bikes,
                     {QStringLiteral("Kola k výběru:"),
                      {{QStringLiteral("KOL_TYP"), QStringLiteral("typ")},
                       {QStringLiteral("KOL_ZNA"), QStringLiteral("značka")}},
                      "KOL_C",
                      Names(bikes, {"KOL_TYP", "KOL_ZNA"}),
                      {QStringLiteral("číslo"), QStringLiteral("typ"), QStringLiteral("značka")},
                      QStringLiteral("Vybraná kola:"),
                      QStringLiteral(">"),
                      PickList::Setup::Arrangement::kBeside});
    BPosledni = PageButton(this, "BPosledni", "Poslední použité kolo");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(picks, 1);
    QHBoxLayout* use = UseRow(this, &CBPouzit, &Vyber);
    use->addWidget(BPosledni);
    layout->addLayout(use);
    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) {
        *f = CodesFragment("jizdy.kol_c", picks->list->codes(), Vyber->negate());
        return !f->empty();
    });
    connect(picks, &PickList::changed, criterion, &Criterion::invalidate);
    connect(Vyber, &YesNoChoice::changed, criterion, &Criterion::invalidate);
    connect(BPosledni, &QPushButton::clicked, this, &BikePage::BPosledniClick);
}

void BikePage::BPosledniClick() {
    const std::vector<Value> codes = LatestRideCodes(db_, {"KOL_C"});
    if (!codes.empty()) PositionOnCode(db_.TTKOL(), "KOL_C", codes[0]);
}

}  // namespace kolvio
