#include "activity/activity_messages.h"

namespace kolvio::activity::msg {

namespace {
std::string Quoted(const std::string& file) {
    return "\"" + file + "\"";
}
}  // namespace

std::string CannotRead(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " nelze přečíst. Zkontrolujte, zda existuje a zda k němu máte přístup.";
}

std::string Empty(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " je prázdný. Vyberte soubor FIT, TCX nebo GPX se záznamem jízdy.";
}

std::string TooLarge(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " je příliš velký na záznam jedné jízdy (více než 64 MB). Vyberte soubor FIT, TCX "
           "nebo GPX s jednou jízdou.";
}

std::string UnknownFormat(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " není záznam jízdy ve formátu FIT, TCX ani GPX. Vyberte soubor, který zapsal "
           "cyklopočítač, sporttester nebo telefon.";
}

std::string NotRideXml(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " je soubor XML, ale ne záznam jízdy ve formátu TCX ani GPX. Vyberte soubor TCX "
           "nebo GPX se záznamem jízdy.";
}

std::string BrokenXml(const std::string& file, long long line) {
    return "Soubor " + Quoted(file) + " je poškozený: chyba XML na řádku " + std::to_string(line) +
           ". Uložte jízdu ze zařízení znovu nebo vyberte jiný soubor.";
}

std::string BrokenFit(const std::string& file) {
    return "Soubor FIT " + Quoted(file) +
           " je poškozený nebo zkrácený a nelze z něj nic načíst. Stáhněte jízdu ze "
           "zařízení znovu.";
}

std::string TooManySamples(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " má více než 1 000 000 bodů záznamu, to není záznam jedné jízdy. Vyberte soubor "
           "s jednou jízdou.";
}

std::string NoSamples(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " neobsahuje žádné body záznamu jízdy. Vyberte soubor se záznamem jízdy.";
}

std::string NoTimes(const std::string& file) {
    return "Body záznamu v souboru " + Quoted(file) +
           " nemají čas, takže z nich nelze určit dobu jízdy (jde nejspíš o plánovanou "
           "trasu). Vyberte záznam projeté jízdy.";
}

std::string NoMovement(const std::string& file) {
    return "V souboru " + Quoted(file) +
           " není žádný úsek, na kterém by se jelo: záznam stojí na místě nebo nemá polohu, "
           "vzdálenost ani rychlost. Zadejte údaje jízdy ručně.";
}

std::string DamagedKeptPart(const std::string& file) {
    return "Soubor " + Quoted(file) +
           " je poškozený; načteny byly jen údaje před poškozeným místem. Zkontrolujte je, "
           "než jízdu uložíte, nebo stáhněte jízdu ze zařízení znovu.";
}

std::string BadChecksum(const std::string& file) {
    return "Kontrolní součet souboru " + Quoted(file) +
           " nesouhlasí, soubor může být poškozený. Zkontrolujte načtené údaje, než jízdu "
           "uložíte.";
}

std::string SeveralActivities(const std::string& file) {
    return "Soubor " + Quoted(file) + " obsahuje více aktivit; načtena byla jen první.";
}

}  // namespace kolvio::activity::msg
