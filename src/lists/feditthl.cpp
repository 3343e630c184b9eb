#include "lists/feditthl.h"

#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/list_rules.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFEditthl::TFEditthl(TForm_hl& main)
    : TPairEditor(main, main.database().TTHLD(),
                  {"THL_ZKR", QStringLiteral("&Zkratka:"), QStringLiteral("zkratka"),
                   QStringLiteral("Zadej novou zkratku typu hlídání limitu tepové frekvence"),
                   PresetWatchAbbreviations()},
                  {"THL_POP", QStringLiteral("&Popis:"), QStringLiteral("popis"),
                   QStringLiteral("Zadej nový popis typu hlídání limitu tepové frekvence"),
                   PresetWatchDescriptions()},
                  {QStringLiteral("Změna a vymazání typu hlídání limitu:"),
                   QStringLiteral("Vymaže aktivní typ hlídání limitu tepové frekvence"),
                   QStringLiteral("Stávající zadané typy hlídání limitu tepové frekvence"),
                   {90, 130},
                   250,
                   QStringLiteral("Takový typ již existuje!\n=> nelze změnit")}) {
    setObjectName(QStringLiteral("FEditthl"));
    setWindowTitle(QStringLiteral("Editace hlídání tepu"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ TYPU HLÍDÁNÍ LIMITU TEP. FR."));
    setHelpContext(901);
    BKONEC->setToolTip(QStringLiteral("Zrušení editace typů hlídání limitu tepové frekvence"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

void TFEditthl::Button1Click() {
    Table& thl = table();
    if (thl.isEmpty()) return;
    // The reserved type is tested before the count (the routes test the count first).
    const int64_t code = thl.getInt("THL_C");
    if (code == 0) {
        Warn(QStringLiteral("Tento typ musí zůstat\n=> nelze smazat"));
        return;
    }
    if (thl.recordCount() == 2) {
        Warn(QStringLiteral("Alespoň dva typy musí zůstat\n=> nelze smazat"));
        return;
    }
    bool used = false;
    if (!StoreOk(UsedInRides(mainWindow().database().Table1(), "THL_C", code, &used))) return;
    if (used) {
        Warn(QStringLiteral("Typ je již použit!\n=> nelze smazat"));
        return;
    }
    if (Confirm(QStringLiteral("Opravdu typ vymazat?"))) StoreOk(thl.deleteRecord());
}

}  // namespace kolvio
