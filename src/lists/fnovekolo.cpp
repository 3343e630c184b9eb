#include "lists/fnovekolo.h"

#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFNoveKolo::TFNoveKolo(TForm_hl& main)
    : TPairAdder(main, kBikeList,
                 {"KOL_TYP", QStringLiteral("Typ:"), QStringLiteral("typ"),
                  QStringLiteral("Zadej nový typ kola (max. 20 znaků)"), PresetBikeTypes(), 20},
                 {"KOL_ZNA", QStringLiteral("Značka:"), QStringLiteral("značka"),
                  QStringLiteral("Zadej novou značku kola (max. 20 znaků)"), PresetBikeMakes(), 20},
                 {QStringLiteral("Nové kolo:"),
                  QStringLiteral("Stávající zadané typy kol"),
                  {115, 115},
                  250,
                  QStringLiteral("Přidá zadaný typ kola do databáze"),
                  QStringLiteral("Zadaný typ již existuje\nje to v pořádku"),
                  true}) {
    setObjectName(QStringLiteral("FNoveKolo"));
    setWindowTitle(QStringLiteral("Nové kolo"));
    Label1->setText(QStringLiteral("NOVÉ KOLO"));
    setHelpContext(301);
    BKONEC->setToolTip(QStringLiteral("Zrušení zadávaní nového kola"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

}  // namespace kolvio
