#include "lists/preset_lists.h"

namespace kolvio {

QStringList PresetStartPlaces() {
    return {QStringLiteral("Praha"), QStringLiteral("Beroun"), QStringLiteral("Kladno"),
            QStringLiteral("Říčany")};
}

QStringList PresetWaypoints() {
    // Towns and villages around Prague; the new-route screen adds the places
    // of the rider's latest rides to them.
    return {QStringLiteral("Beroun"),     QStringLiteral("Zdice"),
            QStringLiteral("Hořovice"),   QStringLiteral("Karlštejn"),
            QStringLiteral("Řevnice"),    QStringLiteral("Dobřichovice"),
            QStringLiteral("Černošice"),  QStringLiteral("Mníšek pod Brdy"),
            QStringLiteral("Dobříš"),     QStringLiteral("Příbram"),
            QStringLiteral("Slaný"),      QStringLiteral("Kladno"),
            QStringLiteral("Unhošť"),     QStringLiteral("Rudná"),
            QStringLiteral("Hostivice"),  QStringLiteral("Roztoky"),
            QStringLiteral("Kralupy"),    QStringLiteral("Mělník"),
            QStringLiteral("Neratovice"), QStringLiteral("Brandýs"),
            QStringLiteral("Čelákovice"), QStringLiteral("Lysá"),
            QStringLiteral("Říčany"),     QStringLiteral("Kostelec"),
            QStringLiteral("Benešov"),    QStringLiteral("Vlašim"),
            QStringLiteral("Sázava"),     QStringLiteral("Jílové"),
            QStringLiteral("Davle"),      QStringLiteral("Štěchovice"),
            QStringLiteral("Slapy"),      QStringLiteral("Nový Knín"),
            QStringLiteral("Lány"),       QStringLiteral("Nové Strašecí"),
            QStringLiteral("Rakovník"),   QStringLiteral("Křivoklát"),
            QStringLiteral("Zbraslav"),   QStringLiteral("Velké Popovice"),
            QStringLiteral("Ondřejov")};
}

QStringList PresetBikeTypes() {
    return {QStringLiteral("SILNIČNÍ ZÁVODNÍ"), QStringLiteral("SILNIČNÍ ZIMNÍ"),
            QStringLiteral("HORSKÉ ZÁVODNÍ"), QStringLiteral("TREKINGOVÉ")};
}

QStringList PresetBikeMakes() {
    return {QStringLiteral("WILLIER"), QStringLiteral("PEUGEOT"), QStringLiteral("FORT"),
            QStringLiteral("AUTHOR"),  QStringLiteral("ŠÍRER"),   QStringLiteral("FAVORIT"),
            QStringLiteral("COLNAGO")};
}

QStringList PresetWatchAbbreviations() {
    return {QStringLiteral("nehlídaný"), QStringLiteral("hlídaný")};
}

QStringList PresetWatchDescriptions() {
    return {QStringLiteral("pouze měřeno"), QStringLiteral("při překročení zpomalení")};
}

}  // namespace kolvio
