#include "lists/feditkolo.h"

#include <QLabel>
#include <QPushButton>

#include "app/form_hl.h"
#include "lists/preset_lists.h"

namespace kolvio {

TFEditKolo::TFEditKolo(TForm_hl& main)
    : TPairEditor(main, kBikeList,
                  {"KOL_TYP", QStringLiteral("&Typ:"), QStringLiteral("typ"),
                   QStringLiteral("Zadej nový typ kola"), PresetBikeTypes()},
                  {"KOL_ZNA", QStringLiteral("&Značka:"), QStringLiteral("značka"),
                   QStringLiteral("Zadej novou značku kola"), PresetBikeMakes()},
                  {QStringLiteral("Změna a vymazání kola :"),
                   QStringLiteral("Vymaže kolo z databáze"),
                   QStringLiteral("Stávající zadané typy kol"),
                   {110, 110},
                   250}) {
    setObjectName(QStringLiteral("FEditKolo"));
    setWindowTitle(QStringLiteral("Editace a odstranění kol"));
    Label1->setText(QStringLiteral("EDITACE A ODSTRANĚNÍ KOL"));
    setHelpContext(501);
    BKONEC->setToolTip(QStringLiteral("Zrušení editaci a odstranění kol"));
    BKONEC->setStatusTip(BKONEC->toolTip());
}

}  // namespace kolvio
