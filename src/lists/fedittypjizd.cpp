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

namespace kolvio {

TFEditTypJizd::TFEditTypJizd(TForm_hl& main)
    : TFData_Zakl(main),
      trnz_(main.database().TTRNZ()),
      trn_(main.database().TTRN()),
      primaryRule_(kPrimaryTypeList, main.database(), rider_),
      secondaryRule_(kSecondaryTypeList, main.database(), rider_) {
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

    // What is typed but not yet in the row counts, as when a box is left.
    primaryRule_.attachChangeChecks(handlers_, [this] { primaryBindings_.applyAll(); });
    secondaryRule_.attachChangeChecks(handlers_, [this] { secondaryBindings_.applyAll(); });
}

TFEditTypJizd::~TFEditTypJizd() = default;

void TFEditTypJizd::Button1Click() {
    if (!primaryRule_.mayDelete()) return;
    // Its secondary types go with it: the view holds exactly them.
    const int64_t details = trn_.recordCount();
    Status st = trn_.first();
    for (int64_t i = 0; st.ok() && i < details; ++i)
        st = trn_.deleteRecord();
    if (st.ok()) st = trnz_.deleteRecord();
    StoreOk(st);
}

void TFEditTypJizd::Button2Click() {
    secondaryRule_.deleteCurrent();
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
