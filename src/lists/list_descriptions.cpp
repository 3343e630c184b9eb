#include "data/database/database.h"
#include "lists/list_description.h"

namespace kolvio {

namespace {

const char kTakenWaypoints[] = "Zadané průjezdní body již obsahuje \njiná trať - pokračovat?";
const char kStoreChange[] = "Zapsat provedenou změnu?";

}  // namespace

const ListDescription kRouteList{
    .name = "routes",
    .table = &Database::TTRS,
    .codeField = "TRS_C",
    .rideField = "TRS_C",
    .required = {.fields = {"TRS_MEZI"},
                 .onAdd = Reaction::Refuse("Nejsou zadány žádné průjezdní body\noprav!"),
                 .onChange = Reaction::Refuse("Nejsou zadány žádné průjezdní body\nruším změny!")},
    .unique = {{.fields = {"TRS_MEZI"},
                .onAdd = Reaction::Ask(kTakenWaypoints),
                .onChange = Reaction::Ask(kTakenWaypoints)},
               {.fields = {"TRS_N2"},
                .emptyMayRepeat = true,
                .onAdd = Reaction::Refuse(
                    "Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat?"),
                .onChange = Reaction::Refuse(
                    "Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat!")}},
    .changeQuestion = kStoreChange,
    .removal = {.keepRows = 2,
                .keepText = "Alespoň jedna trať musí zůstat\n=> nelze smazat",
                .reservedCode = 0,
                .reservedText = "Tuto trať nelze smazat!",
                .usedText = "Trať je již použita!\n=> nelze smazat",
                .question = "Opravdu trať vymazat?"},
};

const ListDescription kBikeList{
    .name = "bikes",
    .table = &Database::TTKOL,
    .codeField = "KOL_C",
    .rideField = "KOL_C",
    .required = {.fields = {"KOL_TYP", "KOL_ZNA"},
                 .onAdd =
                     Reaction::Ask("Typ kola nebo značka kola jsou prázdné,\nje to v pořádku?")},
    .unique = {{.fields = {"KOL_TYP", "KOL_ZNA"},
                .onAdd = Reaction::Refuse("Zadané nové kolo již existuje!\n=> nelze přidat"),
                .onChange = Reaction::Refuse("Takové kolo již existuje!\n=> nelze změnit")}},
    .changeQuestion = kStoreChange,
    .removal = {.keepRows = 1,
                .keepText = "Alespoň jedno kolo musí zůstat\n=> nelze smazat",
                .usedText = "Kolo je již použito!\n=> nelze smazat",
                .question = "Opravdu kolo vymazat?"},
};

const ListDescription kPrimaryTypeList{
    .name = "primary ride types",
    .table = &Database::TTRNZ,
    .codeField = "TRNZ_C",
    .rideField = "TRNZ_C",
    .required = {.fields = {"TRNZ_N"},
                 .onAdd = Reaction::Refuse("Název základního typu nesmí být prázdný!"),
                 .onChange = Reaction::Refuse("Základní typ nesmí být prázdný!\nruším změny!")},
    .unique = {{.fields = {"TRNZ_N"},
                .onAdd =
                    Reaction::Refuse("Zadaný nový základní typ již existuje!\n=> nelze přidat"),
                .onChange = Reaction::Ask("Zadaný základní typ je již použit \n - pokračovat?")}},
    .changeQuestion = "Zapsat provedenou změnu\nv základním typu?",
    .changeQuestionWhenUsed =
        "Základní typ je již použit v jízdách,\npřesto zapsat provedenou změnu?",
    .removal = {.keepRows = 1,
                .keepText = "Alespoň jeden základní typ musí zůstat\n=> nelze smazat",
                .usedText = "Základní typ je již použit v jízdách,\n=> nelze smazat!",
                .question = "Opravdu základní typ vymazat?"},
};

const ListDescription kSecondaryTypeList{
    .name = "secondary ride types",
    .table = &Database::TTRN,
    .codeField = "TRN_C",
    .masterField = "TRNZ_C",
    .perMaster = 99,
    .fullText = "Překročen max. počet {99} vedlejších typů!\n=> nelze přidat",
    .rideField = "TRN_C",
    .required = {.fields = {"TRN_N"},
                 .onAdd = Reaction::Refuse("Název vedlejšího typu nesmí být prázdný!"),
                 .onChange = Reaction::Ask("Opravdu prázdný vedlejší typ?")},
    .unique = {{.fields = {"TRN_N"},
                .onAdd =
                    Reaction::Refuse("Zadaný nový vedlejší typ již existuje!\n=> nelze přidat"),
                .onChange = Reaction::Ask(
                    "Zadaný vedlejší typ je již použit \npro daný základní typ - pokračovat?"),
                .changeMatchesCase = true}},
    .changeQuestion = "Zapsat provedenou změnu\nve vedlejším typu?",
    .changeQuestionWhenUsed =
        "Vedlejší typ je již použit v jízdách,\npřesto zapsat provedenou změnu?",
    .removal = {.keepRows = 1,
                .keepText = "Alespoň jeden vedlejší typ musí zůstat\n=> nelze smazat",
                .usedText = "Vedlejší typ je již použit v jízdách,\n=> nelze smazat!",
                .question = "Opravdu vedlejší typ vymazat?"},
};

const ListDescription kWatchTypeList{
    .name = "watch types",
    .table = &Database::TTHLD,
    .codeField = "THL_C",
    .rideField = "THL_C",
    .required = {.fields = {"THL_ZKR", "THL_POP"},
                 .onAdd = Reaction::Ask("Zkratka nebo popis jsou prázdné,\nje to v pořádku?")},
    .unique = {{.fields = {"THL_ZKR", "THL_POP"},
                .onAdd = Reaction::Refuse(
                    "Zadaný nový typ hlídání limitu tep. fr. již existuje!\n=> nelze přidat"),
                .onChange = Reaction::Refuse("Takový typ již existuje!\n=> nelze změnit")}},
    .changeQuestion = kStoreChange,
    .removal = {.keepRows = 2,
                .keepText = "Alespoň dva typy musí zůstat\n=> nelze smazat",
                .reservedCode = 0,
                .reservedText = "Tento typ musí zůstat\n=> nelze smazat",
                .reservedFirst = true,
                .usedText = "Typ je již použit!\n=> nelze smazat",
                .question = "Opravdu typ vymazat?"},
};

}  // namespace kolvio
