#include "query/limit_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/message_service.h"
#include "app/widgets/db_grid.h"
#include "data/database/database.h"
#include "query/criteria.h"
#include "query/list_pages.h"

namespace kolvio {

namespace {

constexpr int kPercentRow = 2;  // "Doba překročení limitu %:"

QComboBox* OperatorList(QWidget* parent, const char* name, const QStringList& items) {
    auto* combo = Control(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[<>=]{0,2}")), combo));
    return combo;
}

QLineEdit* NumberEdit(QWidget* parent, const char* name, int value) {
    auto* edit = Control(new QLineEdit(QString::number(value), parent), name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,9}")), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    return edit;
}

QStringList Items(const auto& operators) {
    QStringList items;
    for (std::string_view op : operators)
        items.append(QString::fromLatin1(op.data(), static_cast<qsizetype>(op.size())));
    return items;
}

LimitInput Input(const LimitControls& c) {
    return {c.on->isChecked(), c.op ? c.op->currentText().toStdString() : std::string("="),
            c.number.edit->text().toStdString()};
}

// Whether the list's text is one of its items (letter case aside).
bool Offered(const QComboBox* list) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).compare(list->currentText(), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

// Refuses the typed number: the warning, the number held before, the focus back.
void Refuse(NumberField* field, const char* message) {
    ShowMsgBox(QString::fromUtf8(message), MsgKind::kWarning, MsgButtons::kOk);
    field->edit->setText(field->accepted);
    FocusBackLater(field->edit);
}

// The exits every limit shares: the operator list and the change signals.
void WatchLimit(ExitChecks* exits, LimitControls* c, Criterion* criterion) {
    QObject::connect(c->on, &QCheckBox::toggled, criterion, &Criterion::invalidate);
    QObject::connect(c->number.edit, &QLineEdit::textEdited, criterion, &Criterion::invalidate);
    if (!c->op) return;
    QObject::connect(c->op, &QComboBox::currentTextChanged, criterion, &Criterion::invalidate);
    exits->on(c->op, [c, criterion] {
        criterion->invalidate();
        if (!Offered(c->op)) FocusBackLater(c->op);
    });
}

}  // namespace

PersonsPage::PersonsPage(QWidget* parent, std::string* fragment) : QWidget(parent) {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    lower.on = Control(new QCheckBox(QStringLiteral("Spodní limit"), box), "CBSpodni");
    lower.op = OperatorList(box, "CBOpSpodni", Items(kLowerOperators));
    lower.number.edit = NumberEdit(box, "ESpodni", 1);
    upper.on = Control(new QCheckBox(QStringLiteral("Horní limit"), box), "CBHorni");
    upper.op = OperatorList(box, "CBOpHorni", Items(kUpperOperators));
    upper.number.edit = NumberEdit(box, "EHorni", 1);
    equal.on = Control(new QCheckBox(QStringLiteral("Rovnost"), box), "CBRovnost");
    equal.number.edit = NumberEdit(box, "ERovnost", 1);
    int row = 0;
    for (LimitControls* c : {&lower, &upper, &equal}) {
        c->number.accepted = c->number.edit->text();
        grid->addWidget(c->on, row, 0);
        if (c->op) grid->addWidget(c->op, row, 1);
        grid->addWidget(c->number.edit, row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    CBPouzit = Control(new QCheckBox(QStringLiteral("Použít"), this), "CBPouzit");
    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) {
        *f = PersonsFragment({Input(lower), Input(upper), Input(equal)});
        return !f->empty();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch();
    layout->addWidget(CBPouzit);

    for (LimitControls* c : {&lower, &upper, &equal}) {
        WatchLimit(&exits_, c, criterion);
        exits_.on(c->number.edit, [this, c] { numberExit(&c->number); });
    }
    // A limit and the equality exclude each other.
    for (LimitControls* limit : {&lower, &upper}) {
        connect(limit->on, &QCheckBox::toggled, this, [this](bool on) {
            if (on) equal.on->setChecked(false);
        });
    }
    connect(equal.on, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) return;
        lower.on->setChecked(false);
        upper.on->setChecked(false);
    });
}

void PersonsPage::numberExit(NumberField* field) {
    bool ok = false;
    const int n = field->edit->text().toInt(&ok);
    if (!ok) return Refuse(field, "Toto není přípustné číslo");
    if (n <= 0) return Refuse(field, "Zadané číslo: musí být větší jak 0");
    field->accepted = field->edit->text();
    criterion->invalidate();
}

HeartPage::HeartPage(QWidget* parent, Database& db, std::string* fragment)
    : QWidget(parent), db_(db) {
    Table& types = db.TTHLD();
    picks =
        new PickList(this, types,
                     {QString(),
                      {{QStringLiteral("THL_ZKR"), QStringLiteral("zkratka")},
                       {QStringLiteral("THL_POP"), QStringLiteral("popis")}},
                      "THL_C",
                      [&types] {
                          return QStringList{QString::fromStdString(types.getString("THL_ZKR")),
                                             QString::fromStdString(types.getString("THL_POP"))};
                      },
                      {QStringLiteral("číslo"), QStringLiteral("zkratka"), QStringLiteral("popis")},
                      QStringLiteral("Vybrané typy hlídání:"),
                      QStringLiteral(">"),
                      PickList::Setup::Arrangement::kBeside});
    BPosledni = Control(new QPushButton(QStringLiteral("Poslední použitý typ"), this), "BPosledni");
    BPosledni->setAutoDefault(false);

    struct Row {
        const char* label;
        int lower, upper;
    };
    const Row rows[] = {{"Stanovený limit:", 150, 200},
                        {"Maximální tep:", 160, 210},
                        {"Doba překročení limitu %:", 0, 50}};
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(2);
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QString::fromUtf8(rows[r].label), box), r, 0);
        for (int side = 0; side < 2; ++side) {
            LimitControls& c = limits[r * 2 + side];
            const QString n = QString::number(r * 2 + side);
            c.on = new QCheckBox(side == 0 ? QStringLiteral("od") : QStringLiteral("do"), box);
            c.on->setObjectName(QStringLiteral("CBLimit") + n);
            c.op = OperatorList(box, "", Items(side == 0 ? kLowerOperators : kUpperOperators));
            c.op->setObjectName(QStringLiteral("CBOp") + n);
            c.number.edit = NumberEdit(box, "", side == 0 ? rows[r].lower : rows[r].upper);
            c.number.edit->setObjectName(QStringLiteral("ELimit") + n);
            c.number.accepted = c.number.edit->text();
            for (QWidget* w : {static_cast<QWidget*>(c.op), static_cast<QWidget*>(c.number.edit)}) {
                w->setEnabled(false);
                connect(c.on, &QCheckBox::toggled, w, &QWidget::setEnabled);
            }
            grid->addWidget(c.on, r, 1 + side * 3);
            grid->addWidget(c.op, r, 2 + side * 3);
            grid->addWidget(c.number.edit, r, 3 + side * 3);
        }
    }
    grid->setColumnStretch(7, 1);

    QHBoxLayout* use = new QHBoxLayout;
    CBPouzit = Control(new QCheckBox(QStringLiteral("Použít"), this), "CBPouzit");
    Vyber = new YesNoChoice(this);
    use->addWidget(CBPouzit);
    use->addWidget(Vyber);
    use->addStretch();
    use->addWidget(BPosledni);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(picks, 1);
    layout->addWidget(box);
    layout->addLayout(use);

    criterion = new Criterion(CBPouzit, fragment, [this](std::string* f) {
        HeartInput input;
        input.watchTypes = picks->list->codes();
        for (size_t i = 0; i < limits.size(); ++i)
            input.limits[i] = Input(limits[i]);
        input.negate = Vyber->negate();
        *f = HeartFragment(input);
        return !f->empty();
    });
    for (int i = 0; i < static_cast<int>(limits.size()); ++i) {
        WatchLimit(&exits_, &limits[i], criterion);
        exits_.on(limits[i].number.edit, [this, i] { numberExit(i); });
    }
    connect(picks, &PickList::changed, criterion, &Criterion::invalidate);
    connect(Vyber, &YesNoChoice::changed, criterion, &Criterion::invalidate);
    connect(BPosledni, &QPushButton::clicked, this, &HeartPage::BPosledniClick);
}

void HeartPage::numberExit(int limit) {
    NumberField* field = &limits[limit].number;
    bool ok = false;
    const int n = field->edit->text().toInt(&ok);
    if (!ok) return Refuse(field, "Toto není přípustné číslo");
    if (n < 0) return Refuse(field, "Zadané číslo: musí být větší nebo rovno 0");
    if (limit / 2 == kPercentRow && n > 100)
        return Refuse(field, "Zadané číslo: musí být menší nebo rovno 100");
    field->accepted = field->edit->text();
    // The pair stays ordered: the other field follows this one.
    const bool lowerSide = limit % 2 == 0;
    NumberField* other = &limits[lowerSide ? limit + 1 : limit - 1].number;
    const int otherValue = other->edit->text().toInt();  // 0 when not a number
    if ((lowerSide && n > otherValue) || (!lowerSide && n < otherValue)) {
        other->edit->setText(field->edit->text());
        other->accepted = other->edit->text();
    }
    criterion->invalidate();
}

void HeartPage::BPosledniClick() {
    const std::vector<Value> codes = LatestRideCodes(db_, {"THL_C"});
    if (!codes.empty()) PositionOnCode(db_.TTHLD(), "THL_C", codes[0]);
}

}  // namespace kolvio
