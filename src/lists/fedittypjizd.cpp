#include "lists/fedittypjizd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/display_format.h"
#include "app/form_hl.h"
#include "app/widgets/db_grid.h"
#include "lists/list_rules.h"

namespace kolvio {

namespace {

Status Refuse(Table& table) {
    table.cancel();
    return Status::Aborted();
}

}  // namespace

TFEditTypJizd::TFEditTypJizd(TForm_hl& main)
    : TFData_Zakl(main), trnz_(main.database().TTRNZ()), trn_(main.database().TTRN()) {
    setObjectName(QStringLiteral("FEditTypJizd"));
    setWindowTitle(QStringLiteral("Editace typu jízd"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ TYPU JÍZD"));
    setHelpContext(701);
    PoZasKonec->hide();

    auto* primaryBox = new QGroupBox(QStringLiteral("Základní typ:"), this);
    auto* primaryLayout = new QVBoxLayout(primaryBox);
    DBGrid1 = Named(
        new DBGrid(
            trnz_,
            {{QStringLiteral("TRNZ_N"), QStringLiteral("název")},
             {QStringLiteral("ZADNE_TRS"), QStringLiteral("bez tras"),
              [](const Value& v) { return QString::fromStdString(TTRNZZADNE_TRSGetText(v)); }}},
            primaryBox),
        "DBGrid1", QStringLiteral("Stávající základní typy jízd"));
    DBGrid1->setColumnWeights({140, 55}, 225);
    DBGrid1->setRowIndicator(true);
    primaryLayout->addWidget(DBGrid1, 1);
    QGridLayout* grid = nullptr;
    QGroupBox* primaryChange = Group(primaryBox, QStringLiteral("Změna a vymazání:"), &grid);
    DBEdit1 = Named(new QLineEdit(primaryChange), "DBEdit1");
    DBCheckBox1 =
        Named(new QCheckBox(QStringLiteral("Základní typ bez tras"), primaryChange), "DBCheckBox1");
    Button1 = Named(new QPushButton(QStringLiteral("Vymazat"), primaryChange), "Button1");
    grid->addWidget(DBEdit1, 0, 0, 1, 2);
    grid->addWidget(DBCheckBox1, 1, 0);
    grid->addWidget(Button1, 1, 1, Qt::AlignRight);
    primaryLayout->addWidget(primaryChange);
    primaryBindings_.add(new LineEditBinding(trnz_, QStringLiteral("TRNZ_N"), DBEdit1));
    primaryBindings_.add(new CheckBoxBinding(trnz_, QStringLiteral("ZADNE_TRS"), DBCheckBox1));

    auto* secondaryBox = new QGroupBox(QStringLiteral("Vedlejší typ:"), this);
    auto* secondaryLayout = new QVBoxLayout(secondaryBox);
    DBGrid2 =
        Named(new DBGrid(trn_, {{QStringLiteral("TRN_N"), QStringLiteral("název")}}, secondaryBox),
              "DBGrid2",
              QStringLiteral("Stávající vedlejší typy jízd příslušné k aktivnímu hlavnímu typu"));
    DBGrid2->setColumnWeights({195}, 225);
    secondaryLayout->addWidget(DBGrid2, 1);
    QGroupBox* secondaryChange = Group(secondaryBox, QStringLiteral("Změna a vymazání:"), &grid);
    DBEdit2 = Named(new QLineEdit(secondaryChange), "DBEdit2");
    Button2 = Named(new QPushButton(QStringLiteral("Vymazat"), secondaryChange), "Button2");
    grid->addWidget(DBEdit2, 0, 0, 1, 2);
    grid->addWidget(Button2, 1, 1, Qt::AlignRight);
    secondaryLayout->addWidget(secondaryChange);
    secondaryBindings_.add(new LineEditBinding(trn_, QStringLiteral("TRN_N"), DBEdit2));

    auto* columns = new QHBoxLayout;
    columns->addWidget(primaryBox);
    columns->addWidget(secondaryBox);
    body()->addLayout(columns, 1);

    connect(Button1, &QPushButton::clicked, this, &TFEditTypJizd::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFEditTypJizd::Button2Click);

    handlers_.attach(trnz_, TableEvent::kBeforePost,
                     [this](Table& t) { return TTRNZBeforePost(t); });
    handlers_.attach(trnz_, TableEvent::kAfterPost, [this](Table& t) { return TTRNZAfterPost(t); });
    handlers_.attach(trn_, TableEvent::kBeforePost, [this](Table& t) { return TTRNBeforePost(t); });
    handlers_.attach(trn_, TableEvent::kAfterPost, [this](Table& t) { return TTRNAfterPost(t); });
}

TFEditTypJizd::~TFEditTypJizd() = default;

std::optional<bool> TFEditTypJizd::usedInRides(const char* codeField, int64_t code) {
    bool used = false;
    if (!StoreOk(UsedInRides(mainWindow().database().Table1(), codeField, code, &used))) {
        return std::nullopt;
    }
    return used;
}

// --- primary types -----------------------------------------------------------

Status TFEditTypJizd::TTRNZBeforePost(Table& trnz) {
    if (trnz.state() != DatasetState::kEdit) return Status::Ok();
    primaryBindings_.applyAll();
    if (trnz.getString("TRNZ_N").empty()) {
        Warn(QStringLiteral("Základní typ nesmí být prázdný!\nruším změny!"));
        return Refuse(trnz);
    }
    const std::optional<bool> used = usedInRides("TRNZ_C", trnz.getInt("TRNZ_C"));
    if (!used) return Refuse(trnz);
    const QString question =
        *used ? QStringLiteral(
                    "Základní typ je již použit v jízdách,\npřesto zapsat provedenou změnu?")
              : QStringLiteral("Zapsat provedenou změnu\nv základním typu?");
    return Confirm(question) ? Status::Ok() : Refuse(trnz);
}

Status TFEditTypJizd::TTRNZAfterPost(Table& trnz) {
    bool occurs = false;
    if (StoreOk(ValueOccurs(trnz, "TRNZ_N", trnz.getString("TRNZ_N"), 2, &occurs)) && occurs &&
        !Confirm(QStringLiteral("Zadaný základní typ je již použit \n - pokračovat?"))) {
        TTRNZZpet();
    }
    return Status::Ok();
}

void TFEditTypJizd::TTRNZZpet() {
    StoreOk(handlers_.without(trnz_, [this] { return WriteBackOldRow(trnz_); }));
}

void TFEditTypJizd::Button1Click() {
    if (trnz_.isEmpty()) return;
    if (trnz_.recordCount() == 1) {
        Warn(QStringLiteral("Alespoň jeden základní typ musí zůstat\n=> nelze smazat"));
        return;
    }
    const std::optional<bool> used = usedInRides("TRNZ_C", trnz_.getInt("TRNZ_C"));
    if (!used) return;
    if (*used) {
        Warn(QStringLiteral("Základní typ je již použit v jízdách,\n=> nelze smazat!"));
        return;
    }
    if (!Confirm(QStringLiteral("Opravdu základní typ vymazat?"))) return;
    // Its secondary types go with it: the view holds exactly them.
    const int64_t details = trn_.recordCount();
    Status st = trn_.first();
    for (int64_t i = 0; st.ok() && i < details; ++i)
        st = trn_.deleteRecord();
    if (st.ok()) st = trnz_.deleteRecord();
    StoreOk(st);
}

// --- secondary types ---------------------------------------------------------

Status TFEditTypJizd::TTRNBeforePost(Table& trn) {
    if (trn.state() != DatasetState::kEdit) return Status::Ok();
    secondaryBindings_.applyAll();
    // An empty secondary name is allowed once the rider confirms it.
    if (trn.getString("TRN_N").empty() &&
        !Confirm(QStringLiteral("Opravdu prázdný vedlejší typ?"))) {
        return Refuse(trn);
    }
    const std::optional<bool> used = usedInRides("TRN_C", trn.getInt("TRN_C"));
    if (!used) return Refuse(trn);
    const QString question =
        *used ? QStringLiteral(
                    "Vedlejší typ je již použit v jízdách,\npřesto zapsat provedenou změnu?")
              : QStringLiteral("Zapsat provedenou změnu\nve vedlejším typu?");
    return Confirm(question) ? Status::Ok() : Refuse(trn);
}

Status TFEditTypJizd::TTRNAfterPost(Table& trn) {
    bool occurs = false;
    if (StoreOk(CountInView(trn, "TRN_N", trn.getString("TRN_N"), 2, &occurs)) && occurs &&
        !Confirm(QStringLiteral(
            "Zadaný vedlejší typ je již použit \npro daný základní typ - pokračovat?"))) {
        TTRNZpet();
    }
    return Status::Ok();
}

void TFEditTypJizd::TTRNZpet() {
    StoreOk(handlers_.without(trn_, [this] { return WriteBackOldRow(trn_); }));
}

void TFEditTypJizd::Button2Click() {
    if (trn_.isEmpty()) return;
    if (trn_.recordCount() == 1) {
        Warn(QStringLiteral("Alespoň jeden vedlejší typ musí zůstat\n=> nelze smazat"));
        return;
    }
    const std::optional<bool> used = usedInRides("TRN_C", trn_.getInt("TRN_C"));
    if (!used) return;
    if (*used) {
        Warn(QStringLiteral("Vedlejší typ je již použit v jízdách,\n=> nelze smazat!"));
        return;
    }
    if (Confirm(QStringLiteral("Opravdu vedlejší typ vymazat?"))) StoreOk(trn_.deleteRecord());
}

void TFEditTypJizd::FormClose() {
    // What is typed but not yet in the rows counts, as when a box is left.
    primaryBindings_.applyAll();
    secondaryBindings_.applyAll();
    for (Table* t : {&trnz_, &trn_}) {
        if (t->state() == DatasetState::kEdit && !StoreOk(t->post())) t->cancel();
    }
    handlers_.detachAll();
}

}  // namespace kolvio
