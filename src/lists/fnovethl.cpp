#include "lists/fnovethl.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFNoveTHL::TFNoveTHL(TForm_hl& main)
    : TPairAdder(
          main, kWatchTypeList,
          {"THL_ZKR", QStringLiteral("Zkratka:"), QStringLiteral("zkratka"),
           QStringLiteral("Zadej zkratku nového typu hlídání limitu tepové frekvence  (max. 15 "
                          "znaků)"),
           PresetWatchAbbreviations(), 15},
          {"THL_POP", QStringLiteral("Popis:"), QStringLiteral("popis"),
           QStringLiteral("Zadej popis nového typu hlídání limitu tepové frekvece (max. 50 znaků)"),
           PresetWatchDescriptions(), 50},
          {QStringLiteral("Nový typ hlídání limitu:"),
           QStringLiteral("Stávající zadané typy hlídání limitu tepové frekvence"),
           {90, 130},
           250,
           QStringLiteral("Přidá zadaný typ hlídání limitu tepové frekvence do databáze"),
           QStringLiteral("Zadaná zkratka již existuje\nje to v pořádku"),
           false}) {
    setObjectName(QStringLiteral("FNoveTHL"));
    setWindowTitle(QStringLiteral("Nový typ hlídání limitu tepové frekvence"));
    Label1->setText(QStringLiteral("NOVÝ TYP HLÍDÁNÍ LIMITU TEPOVÉ FREKVENCE"));
    setHelpContext(1001);
    PoZasKonec->setToolTip(QStringLiteral("Po zadání typu ukončí/neukončí dialog"));
    PoZasKonec->setStatusTip(PoZasKonec->toolTip());
    BKONEC->setToolTip(QStringLiteral("Zrušení zadávaní nového typu hlídání limitu"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

}  // namespace kolvio
