#include "lists/feditkolo.h"

#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/list_rules.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFEditKolo::TFEditKolo(TForm_hl& main)
    : TPairEditor(main, main.database().TTKOL(),
                  {"KOL_TYP", QStringLiteral("&Typ:"), QStringLiteral("typ"),
                   QStringLiteral("Zadej nový typ kola"), PresetBikeTypes()},
                  {"KOL_ZNA", QStringLiteral("&Značka:"), QStringLiteral("značka"),
                   QStringLiteral("Zadej novou značku kola"), PresetBikeMakes()},
                  {QStringLiteral("Změna a vymazání kola :"),
                   QStringLiteral("Vymaže kolo z databáze"),
                   QStringLiteral("Stávající zadané typy kol"),
                   {110, 110},
                   250,
                   QStringLiteral("Takové kolo již existuje!\n=> nelze změnit")}) {
    setObjectName(QStringLiteral("FEditKolo"));
    setWindowTitle(QStringLiteral("Editace a odstranění kol"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ KOL"));
    setHelpContext(501);
    BKONEC->setToolTip(QStringLiteral("Zrušení editaci a odstranění kol"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

void TFEditKolo::Button1Click() {
    Table& kol = table();
    if (kol.isEmpty()) return;
    if (kol.recordCount() == 1) {
        Warn(QStringLiteral("Alespoň jedno kolo musí zůstat\n=> nelze smazat"));
        return;
    }
    bool used = false;
    if (!StoreOk(
            UsedInRides(mainWindow().database().Table1(), "KOL_C", kol.getInt("KOL_C"), &used))) {
        return;
    }
    if (used) {
        Warn(QStringLiteral("Kolo je již použito!\n=> nelze smazat"));
        return;
    }
    if (Confirm(QStringLiteral("Opravdu kolo vymazat?"))) StoreOk(kol.deleteRecord());
}

}  // namespace kolvio
