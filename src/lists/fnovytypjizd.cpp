#include "lists/fnovytypjizd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/form_hl.h"
#include "app/help_viewer.h"
#include "app/widgets/db_grid.h"
#include "app/widgets/field_binding.h"
#include "lists/list_screen.h"

namespace kolvio {

namespace {

constexpr int kNameLength = 20;

QList<GridColumn> CodeAndName(const char* code, const char* name) {
    return {{QString::fromLatin1(code), QStringLiteral("číslo")},
            {QString::fromLatin1(name), QStringLiteral("název")}};
}

}  // namespace

TFNovyTypJizd::TFNovyTypJizd(TForm_hl& main)
    : TFData_Zakl(main),
      primaryRule_(kPrimaryTypeList, main.database(), rider_),
      secondaryRule_(kSecondaryTypeList, main.database(), rider_) {
    setObjectName(QStringLiteral("FNovyTypJizd"));
    setWindowTitle(QStringLiteral("Nový typ jízd"));
    Label1->setText(QStringLiteral("NOVÝ TYP JÍZD"));
    setHelpContext(401);
    Database& db = main.database();

    PageControl1 = Named(new QTabWidget(this), "PageControl1",
                         QStringLiteral("Vyběr typů, které je možné zadat"));
    PageControl1->setTabPosition(QTabWidget::South);
    auto* primaryPage = new QWidget(PageControl1);
    DBGrid1 = Named(new DBGrid(db.TTRNZ(), CodeAndName("TRNZ_C", "TRNZ_N"), primaryPage), "DBGrid1",
                    QStringLiteral("Stávající základní typy jízd"));
    (new QVBoxLayout(primaryPage))->addWidget(DBGrid1);
    PageControl1->addTab(primaryPage, QStringLiteral("Základní typ"));
    SetHelpContext(primaryPage, 402);

    auto* secondaryPage = new QWidget(PageControl1);
    auto* secondaryLayout = new QGridLayout(secondaryPage);
    DBEdit1 =
        Named(new QLineEdit(secondaryPage), "DBEdit1", QStringLiteral("Aktivní hlavní typ jízd"));
    DBEdit1->setReadOnly(true);
    new LineEditBinding(db.TTRNZ(), QStringLiteral("TRNZ_N"), DBEdit1);
    AddRow(secondaryLayout, QStringLiteral("Určeno pro základní typ:"), DBEdit1);
    DBGrid2 =
        Named(new DBGrid(db.TTRN(), CodeAndName("TRN_C", "TRN_N"), secondaryPage), "DBGrid2",
              QStringLiteral("Stávající vedlejší typy jízd příslušné k aktivnímu hlavnímu typu"));
    secondaryLayout->addWidget(DBGrid2, secondaryLayout->rowCount(), 0, 1, 2);
    PageControl1->addTab(secondaryPage, QStringLiteral("Vedlejší typ"));
    SetHelpContext(secondaryPage, 403);
    for (DBGrid* grid : {DBGrid1, DBGrid2})
        grid->setColumnWeights({50, 145}, 210);

    QGridLayout* grid = nullptr;
    QGroupBox* added = Group(this, QStringLiteral("Nový typ jízdy:"), &grid);
    Edit1 =
        Named(new QLineEdit(added), "Edit1", QStringLiteral("Zadej název nového základního typu"));
    Edit2 =
        Named(new QLineEdit(added), "Edit2", QStringLiteral("Zadej název nového vedlejšího typu"));
    Edit1->setMaxLength(kNameLength);
    Edit2->setMaxLength(kNameLength);
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Základní typ bez tras"), added), "CheckBox1",
                      QStringLiteral("Při zadání jízdy nebou nabízeny trasy k výběru"));
    Label2 = AddRow(grid, QStringLiteral("Základní typ:"), Edit1);
    Label2->setObjectName(QStringLiteral("Label2"));
    AddRow(grid, QStringLiteral("Vedlejší typ:"), Edit2);
    grid->addWidget(CheckBox1, grid->rowCount(), 1);

    body()->addWidget(PageControl1, 1);
    body()->addWidget(added);

    Button1 = Named(new QPushButton(QStringLiteral("PŘIDEJ"), this), "Button1",
                    QStringLiteral("Přidá zadaný nový typ jízdy do databáze"));
    buttonRow()->insertWidget(buttonRow()->count() - 1, Button1);

    connect(PageControl1, &QTabWidget::currentChanged, this, &TFNovyTypJizd::PageControl1Change);
    connect(Button1, &QPushButton::clicked, this, &TFNovyTypJizd::Button1Click);
    PageControl1->setCurrentIndex(0);
    Zmena();
}

void TFNovyTypJizd::PageControl1Change() {
    Zmena();
}

void TFNovyTypJizd::Zmena() {
    const bool primary = PageControl1->currentIndex() == 0;
    Edit1->setVisible(primary);
    Label2->setVisible(primary);
    CheckBox1->setVisible(primary);
}

void TFNovyTypJizd::Button1Click() {
    Database& db = mainWindow().database();
    Table& trnz = db.TTRNZ();
    // The visible primary name field says what is added.
    const bool addPrimary = !Edit1->isHidden();
    const RowValues primaryValues{{"TRNZ_N", Edit1->text().toStdString()},
                                  {"ZADNE_TRS", CheckBox1->isChecked()}};
    const std::string name2 = Edit2->text().toStdString();
    // The secondary types are those of the primary type selected in the
    // grid, also when a new primary type is being added.
    if ((addPrimary && !primaryRule_.mayAdd(primaryValues)) ||
        !secondaryRule_.mayAdd({{"TRN_N", name2}}) || !secondaryRule_.confirmAdd()) {
        return;
    }
    // The primary type and its first secondary type are stored both or neither.
    RowEdit primaryRow(trnz);
    if (addPrimary && !StoreOk(primaryRule_.add(primaryValues, primaryRow))) return;
    if (trnz.isEmpty()) return;
    RowEdit secondaryRow(db.TTRN());
    if (!StoreOk(secondaryRule_.add({{"TRNZ_C", trnz.getInt("TRNZ_C")}, {"TRN_N", name2}},
                                    secondaryRow))) {
        if (addPrimary) StoreOk(primaryRow.withdraw());
        return;
    }
    if (PoZasKonec->isChecked()) closeScreen();
}

}  // namespace kolvio
