#include "lists/feditthl.h"

#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFEditthl::TFEditthl(TForm_hl& main)
    : TPairEditor(main, kWatchTypeList,
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
                   250}) {
    setObjectName(QStringLiteral("FEditthl"));
    setWindowTitle(QStringLiteral("Editace hlídání tepu"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ TYPU HLÍDÁNÍ LIMITU TEP. FR."));
    setHelpContext(1101);
    BKONEC->setToolTip(QStringLiteral("Zrušení editace typů hlídání limitu tepové frekvence"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

}  // namespace kolvio
