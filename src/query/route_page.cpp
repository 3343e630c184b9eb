#include "query/route_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/message_service.h"
#include "data/database/database.h"
#include "query/builder_parts.h"
#include "query/criteria.h"
#include "query/list_pages.h"

namespace kolvio {

namespace {

QPushButton* NavigatorButton(QWidget* parent, const char* name, const char* caption,
                             const char* hint) {
    auto* b =
        Control(new QPushButton(QString::fromUtf8(caption), parent), name, QString::fromUtf8(hint));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

RoutePage::RoutePage(QWidget* parent, Database& db, std::string* fragment,
                     Criterion* routesCriterion)
    : QWidget(parent), db_(db), routes_(routesCriterion) {
    Table& routes = db.TTRS();
    // Codes and places two to a row, the waypoints across.
    auto* shown = new QGroupBox(this);
    auto* fields = new QGridLayout(shown);
    fields->setContentsMargins(6, 4, 6, 4);
    struct Box {
        QLineEdit** edit;
        const char* caption;
        const char* field;
        int row, column, span;
    };
    const Box boxes[] = {
        {&EKod1, "Kód 1:", "TRS_N1", 0, 0, 1},
        {&EKod2, "Kód 2:", "TRS_N2", 0, 2, 1},
        {&EStart, "Start:", "TRS_START", 1, 0, 1},
        {&ECil, "Cíl:", "TRS_CIL", 1, 2, 1},
        {&EMezi, "Průjezdní body:", "TRS_MEZI", 2, 0, 3},
    };
    for (const Box& b : boxes) {
        *b.edit = new QLineEdit(shown);
        (*b.edit)->setObjectName(QStringLiteral("E") + QString::fromLatin1(b.field));
        (*b.edit)->setReadOnly(true);
        auto* label = new QLabel(QString::fromUtf8(b.caption), shown);
        label->setBuddy(*b.edit);
        if (b.span == 1) {
            fields->addWidget(label, b.row * 2, b.column);
            fields->addWidget(*b.edit, b.row * 2 + 1, b.column, 1, 2);
        } else {
            fields->addWidget(label, b.row * 2, 0);
            fields->addWidget(*b.edit, b.row * 2 + 1, 0, 1, 4);
        }
        bindings_.add(new LineEditBinding(routes, QString::fromLatin1(b.field), *b.edit));
    }
    fields->setVerticalSpacing(2);

    BPrvni = NavigatorButton(this, "BPrvni", "|<", "První v databázi");
    BPredchozi = NavigatorButton(this, "BPredchozi", "<", "Předchozí");
    BDalsi = NavigatorButton(this, "BDalsi", ">", "Další");
    BPosledni = NavigatorButton(this, "BPosledni", ">|", "Poslední v databázi");
    auto* navigator = new QHBoxLayout;
    for (QPushButton* b : {BPrvni, BPredchozi, BDalsi, BPosledni})
        navigator->addWidget(b);

    auto* directionBox = new QGroupBox(QStringLiteral("Omezení směru:"), this);
    RBObaSmery = Control(new QRadioButton(QStringLiteral("oba směry"), directionBox), "RBObaSmery");
    RBZobrazeny =
        Control(new QRadioButton(QStringLiteral("zobrazený směr"), directionBox), "RBZobrazeny");
    RBOpacny = Control(new QRadioButton(QStringLiteral("opačný směr"), directionBox), "RBOpacny");
    RBObaSmery->setChecked(true);
    auto* directions = new QHBoxLayout(directionBox);
    directions->setContentsMargins(6, 2, 6, 2);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {RBObaSmery, RBZobrazeny, RBOpacny}) {
        group->addButton(b);
        directions->addWidget(b);
    }
    BPosledniTrat = NavigatorButton(this, "BPosledniTrat", "Poslední projetá trať", "");
    CBPouzit = Control(new QCheckBox(QStringLiteral("Použít"), this), "CBPouzit");
    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) { return build(f); });

    navigator->addStretch();
    navigator->addWidget(BPosledniTrat);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(shown);
    layout->addLayout(navigator);
    layout->addWidget(directionBox);
    layout->addStretch();
    layout->addWidget(CBPouzit);

    connect(BPrvni, &QPushButton::clicked, this, [this] { move(&Table::first); });
    connect(BPredchozi, &QPushButton::clicked, this, [this] { move(&Table::prior); });
    connect(BDalsi, &QPushButton::clicked, this, [this] { move(&Table::next); });
    connect(BPosledni, &QPushButton::clicked, this, [this] { move(&Table::last); });
    connect(group, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool on) {
        if (on) criterion->invalidate();
    });
    connect(BPosledniTrat, &QPushButton::clicked, this, &RoutePage::BPosledniTratClick);
}

void RoutePage::move(Status (Table::*step)()) {
    criterion->invalidate();
    Table& routes = db_.TTRS();
    if (!routes.isOpen()) return;
    const Status st = (routes.*step)();
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
}

void RoutePage::BPosledniTratClick() {
    criterion->invalidate();
    const std::vector<Value> codes = LatestRideCodes(db_, {"TRS_C"});
    if (!codes.empty()) PositionOnCode(db_.TTRS(), "TRS_C", codes[0]);
}

bool RoutePage::build(std::string* fragment) {
    Table& routes = db_.TTRS();
    if (!routes.isOpen() || routes.isEmpty()) return false;
    if (routes_->ticked()) {
        if (ShowMsgBox(QStringLiteral("Mám vypnout použití výběru více tratí ?\nNE=vypnutí "
                                      "použití jediné trati"),
                       MsgKind::kConfirmation, MsgButtons::kYesNo) == MsgResult::kNo) {
            return false;
        }
        routes_->untick();
    }
    RouteDirection direction = RouteDirection::kBoth;
    if (RBZobrazeny->isChecked()) direction = RouteDirection::kShown;
    if (RBOpacny->isChecked()) direction = RouteDirection::kReverse;
    *fragment = SingleRouteFragment(routes.getInt("TRS_C"), direction);
    RememberedRoute = routes.bookmark();
    return true;
}

void RoutePage::pageShown() {
    if (!criterion->ticked() || !RememberedRoute) return;
    Table& routes = db_.TTRS();
    if (!routes.isOpen()) return;
    const Status st = routes.gotoBookmark(*RememberedRoute);
    if (st.failed())
        ShowMsgBox(QString::fromStdString(st.message()), MsgKind::kError, MsgButtons::kOk);
}

}  // namespace kolvio
