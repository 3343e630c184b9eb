// The checks of every reference list, run by ListRule from the list's
// description on the tables of a fresh database: what the rider is told and
// asked, in which order, and what is stored afterwards. One data row per
// case; the expected texts are written out here, so a changed message in a
// description fails a row.
#include "lists/list_rule.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "data/database/database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using testing::TempDir;

// One message: a warning ('W') or a question ('Q') with the rider's answer.
struct Said {
    char kind;
    std::string text;
    bool yes = true;
};
Said W(std::string text) {
    return {'W', std::move(text)};
}
Said Q(std::string text, bool yes) {
    return {'Q', std::move(text), yes};
}
using Talk = std::vector<Said>;

class ScriptedRider final : public Rider {
public:
    explicit ScriptedRider(const Talk& talk) : expected_(talk.begin(), talk.end()) {}

    void warn(const std::string& text) override { take('W', text); }
    bool confirm(const std::string& text) override { return take('Q', text); }
    void fail(const Status& status) override { problems.push_back("store: " + status.message()); }
    void returnTo(std::string_view field) override { returnedTo.emplace_back(field); }

    // Problems so far, with the messages expected but never shown.
    std::vector<std::string> check() {
        for (const Said& s : expected_)
            problems.push_back("not shown: " + s.text);
        expected_.clear();
        return problems;
    }

    std::vector<std::string> problems;
    std::vector<std::string> returnedTo;

private:
    bool take(char kind, const std::string& text) {
        if (expected_.empty()) {
            problems.push_back(std::string("unexpected ") + kind + ": " + text);
            return false;
        }
        const Said s = expected_.front();
        expected_.pop_front();
        if (s.kind != kind || s.text != text) {
            problems.push_back(std::string("expected ") + s.kind + " \"" + s.text + "\", got " +
                               kind + " \"" + text + "\"");
        }
        return s.yes;
    }

    std::deque<Said> expected_;
};

void Append(Table& table, const RowValues& values) {
    ASSERT_TRUE(table.append().ok());
    for (const auto& [field, value] : values)
        ASSERT_TRUE(table.setValue(field, value).ok());
    ASSERT_TRUE(table.post().ok());
}

// Extra rows a case starts from, on top of a new database's.
using StartRows = void (*)(Database&);
void Nothing(Database&) {}
void ThirdRoute(Database& db) {
    Append(db.TTRS(), {{"TRS_C", 2}, {"TRS_MEZI", "A;B"}, {"TRS_N2", "X"}});
}
void ThirdRouteRidden(Database& db) {
    ThirdRoute(db);
    Append(db.Table1(), {{"TRS_C", 2}, {"KOL_C", 1}, {"TRNZ_C", 2}, {"TRN_C", 202}, {"THL_C", 1}});
}
void OneBike(Database& db) {
    ASSERT_TRUE(db.TTKOL().locate("KOL_C", 2).ok());
    ASSERT_TRUE(db.TTKOL().deleteRecord().ok());
}
void AThirdBike(Database& db) {
    Append(db.TTKOL(), {{"KOL_C", 3}, {"KOL_TYP", "HORSKÉ"}, {"KOL_ZNA", "AUTHOR"}});
}
void TwoWatchTypes(Database& db) {
    ASSERT_TRUE(db.TTHLD().locate("THL_C", 2).ok());
    ASSERT_TRUE(db.TTHLD().deleteRecord().ok());
}
void OnePrimaryType(Database& db) {
    for (int code : {2, 3}) {
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", code).ok());
        ASSERT_TRUE(db.TTRNZ().deleteRecord().ok());
    }
}
void NinetyNineOfType3(Database& db) {
    for (int k = 4; k <= 99; ++k)
        Append(db.TTRN(), {{"TRN_C", 300 + k}, {"TRNZ_C", 3}, {"TRN_N", std::to_string(k)}});
}

class ListRuleTest : public ::testing::Test {
protected:
    void Start(StartRows setup) {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
        db.TTRS().setFiltered(false);  // route 0 is listed, as in the editor
        setup(db);
    }

    // Makes the row with `code` current (a secondary type under its primary).
    void Select(const ListDescription& list, int64_t code) {
        if (list.masterField) {
            ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", Value(code / 100)).ok());
        }
        ASSERT_TRUE((db.*list.table)().locate(list.codeField, Value(code)).ok());
    }

    // A field of the stored row with `code`, read through a handle of its own.
    std::string Stored(const ListDescription& list, int64_t code, const char* field) {
        const Table& shared = (db.*list.table)();
        Table t(shared.directory(), shared.fileName());
        if (!t.open().ok()) return "<unreadable>";
        for (Status st = t.first(); st.ok() && !t.eof(); st = t.next()) {
            if (t.getInt(list.codeField) == code) return t.getString(field);
        }
        return "<none>";
    }
    bool Exists(const ListDescription& list, int64_t code) {
        return Stored(list, code, list.codeField) != "<none>";
    }

    TempDir tmp;
    Database db;
};

// --- deleting ------------------------------------------------------------

struct DeleteCase {
    const char* name;
    const ListDescription* list;
    StartRows setup;
    int64_t code;
    Talk talk;
    bool deleted;
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
    *os << c.name;
}

class DeleteRuleTest : public ListRuleTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteRuleTest, RefusalsComeInTheListsOwnOrder) {
    const DeleteCase& c = GetParam();
    Start(c.setup);
    Select(*c.list, c.code);
    ScriptedRider rider(c.talk);
    ListRule rule(*c.list, db, rider);
    EXPECT_EQ(rule.deleteCurrent(), c.deleted);
    EXPECT_EQ(rider.check(), std::vector<std::string>{});
    EXPECT_EQ(Exists(*c.list, c.code), !c.deleted);
}

const char kOneRoute[] = "Alespoň jedna trať musí zůstat\n=> nelze smazat";
const char kDeleteRoute[] = "Opravdu trať vymazat?";
const char kTwoWatchTypes[] = "Alespoň dva typy musí zůstat\n=> nelze smazat";
const char kKeepWatchType0[] = "Tento typ musí zůstat\n=> nelze smazat";

INSTANTIATE_TEST_SUITE_P(
    Lists, DeleteRuleTest,
    ::testing::Values(
        // Two routes: the count is tested first, even for route 0.
        DeleteCase{"routes_two_left", &kRouteList, Nothing, 1, {W(kOneRoute)}, false},
        DeleteCase{"routes_two_left_route0", &kRouteList, Nothing, 0, {W(kOneRoute)}, false},
        DeleteCase{
            "routes_route0", &kRouteList, ThirdRoute, 0, {W("Tuto trať nelze smazat!")}, false},
        DeleteCase{"routes_ridden",
                   &kRouteList,
                   ThirdRouteRidden,
                   2,
                   {W("Trať je již použita!\n=> nelze smazat")},
                   false},
        DeleteCase{"routes_no", &kRouteList, ThirdRoute, 2, {Q(kDeleteRoute, false)}, false},
        DeleteCase{"routes_yes", &kRouteList, ThirdRoute, 2, {Q(kDeleteRoute, true)}, true},
        DeleteCase{"bikes_last",
                   &kBikeList,
                   OneBike,
                   1,
                   {W("Alespoň jedno kolo musí zůstat\n=> nelze smazat")},
                   false},
        DeleteCase{"bikes_ridden",
                   &kBikeList,
                   ThirdRouteRidden,
                   1,
                   {W("Kolo je již použito!\n=> nelze smazat")},
                   false},
        DeleteCase{"bikes_yes", &kBikeList, Nothing, 2, {Q("Opravdu kolo vymazat?", true)}, true},
        // Watch types test the reserved type before the count.
        DeleteCase{"watch_type0", &kWatchTypeList, TwoWatchTypes, 0, {W(kKeepWatchType0)}, false},
        DeleteCase{"watch_two_left", &kWatchTypeList, TwoWatchTypes, 1, {W(kTwoWatchTypes)}, false},
        DeleteCase{"watch_ridden",
                   &kWatchTypeList,
                   ThirdRouteRidden,
                   1,
                   {W("Typ je již použit!\n=> nelze smazat")},
                   false},
        DeleteCase{
            "watch_yes", &kWatchTypeList, Nothing, 2, {Q("Opravdu typ vymazat?", true)}, true},
        DeleteCase{"primary_last",
                   &kPrimaryTypeList,
                   OnePrimaryType,
                   1,
                   {W("Alespoň jeden základní typ musí zůstat\n=> nelze smazat")},
                   false},
        DeleteCase{"primary_ridden",
                   &kPrimaryTypeList,
                   ThirdRouteRidden,
                   2,
                   {W("Základní typ je již použit v jízdách,\n=> nelze smazat!")},
                   false},
        DeleteCase{"primary_yes",
                   &kPrimaryTypeList,
                   Nothing,
                   3,
                   {Q("Opravdu základní typ vymazat?", true)},
                   true},
        // Counted among the secondary types of the selected primary type.
        DeleteCase{"secondary_last_of_its_type",
                   &kSecondaryTypeList,
                   Nothing,
                   101,
                   {W("Alespoň jeden vedlejší typ musí zůstat\n=> nelze smazat")},
                   false},
        DeleteCase{"secondary_ridden",
                   &kSecondaryTypeList,
                   ThirdRouteRidden,
                   202,
                   {W("Vedlejší typ je již použit v jízdách,\n=> nelze smazat!")},
                   false},
        DeleteCase{"secondary_no",
                   &kSecondaryTypeList,
                   Nothing,
                   302,
                   {Q("Opravdu vedlejší typ vymazat?", false)},
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- changing ------------------------------------------------------------

struct ChangeCase {
    const char* name;
    const ListDescription* list;
    StartRows setup;
    int64_t code;
    RowValues change;
    Talk talk;
    // Every changed field as stored afterwards: the change, or the old row.
    bool kept;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class ChangeRuleTest : public ListRuleTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeRuleTest, ChangeIsStoredOnlyAsTheListAllows) {
    const ChangeCase& c = GetParam();
    Start(c.setup);
    Select(*c.list, c.code);
    Table& table = (db.*c.list->table)();
    std::vector<std::string> before;
    for (const auto& [field, value] : c.change)
        before.push_back(table.getString(field));
    ScriptedRider rider(c.talk);
    ListRule rule(*c.list, db, rider);
    TableHandlers handlers;
    rule.attachChangeChecks(handlers);
    RowEdit row(table);
    row.edit();
    for (const auto& [field, value] : c.change)
        row.set(field, value);
    (void)row.commit();
    EXPECT_EQ(rider.check(), std::vector<std::string>{});
    EXPECT_EQ(table.state(), DatasetState::kBrowse);
    for (size_t i = 0; i < c.change.size(); ++i) {
        const auto& [field, value] = c.change[i];
        EXPECT_EQ(Stored(*c.list, c.code, field.c_str()), c.kept ? value.asText() : before[i])
            << field;
    }
    EXPECT_EQ(rule.writtenBack(), !c.kept && c.talk.size() > 1);
}

const char kStoreChange[] = "Zapsat provedenou změnu?";
const char kTaken[] = "Zadané průjezdní body již obsahuje \njiná trať - pokračovat?";
const char kStorePrimary[] = "Zapsat provedenou změnu\nv základním typu?";
const char kStoreSecondary[] = "Zapsat provedenou změnu\nve vedlejším typu?";
const char kSecondaryTaken[] =
    "Zadaný vedlejší typ je již použit \npro daný základní typ - pokračovat?";

INSTANTIATE_TEST_SUITE_P(
    Lists, ChangeRuleTest,
    ::testing::Values(
        ChangeCase{"routes_stored",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_MEZI", "B;A"}},
                   {Q(kStoreChange, true)},
                   true},
        ChangeCase{"routes_not_stored",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_MEZI", "B;A"}},
                   {Q(kStoreChange, false)},
                   false},
        ChangeCase{"routes_waypoints_emptied",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_MEZI", ""}},
                   {W("Nejsou zadány žádné průjezdní body\nruším změny!")},
                   false},
        // Waypoints compare without regard to letter case.
        ChangeCase{"routes_waypoints_taken_no",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_MEZI", "nespecifikováno"}, {"TRS_START", "Praha"}},
                   {Q(kStoreChange, true), Q(kTaken, false)},
                   false},
        ChangeCase{"routes_waypoints_taken_yes",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_MEZI", "nespecifikováno"}},
                   {Q(kStoreChange, true), Q(kTaken, true)},
                   true},
        ChangeCase{"routes_code2_taken",
                   &kRouteList,
                   ThirdRoute,
                   2,
                   {{"TRS_N2", "nespec"}},
                   {Q(kStoreChange, true),
                    W("Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat!")},
                   false},
        ChangeCase{"bikes_pair_taken",
                   &kBikeList,
                   AThirdBike,
                   3,
                   {{"KOL_TYP", "silniční zimní"}, {"KOL_ZNA", ""}},
                   {Q(kStoreChange, true), W("Takové kolo již existuje!\n=> nelze změnit")},
                   false},
        ChangeCase{"bikes_type_alone_repeats",
                   &kBikeList,
                   AThirdBike,
                   3,
                   {{"KOL_TYP", "SILNIČNÍ ZIMNÍ"}},
                   {Q(kStoreChange, true)},
                   true},
        ChangeCase{"watch_pair_taken",
                   &kWatchTypeList,
                   Nothing,
                   1,
                   {{"THL_ZKR", "hlídaný"}, {"THL_POP", "při překročení zpomalení"}},
                   {Q(kStoreChange, true), W("Takový typ již existuje!\n=> nelze změnit")},
                   false},
        ChangeCase{"primary_emptied",
                   &kPrimaryTypeList,
                   Nothing,
                   2,
                   {{"TRNZ_N", ""}},
                   {W("Základní typ nesmí být prázdný!\nruším změny!")},
                   false},
        ChangeCase{
            "primary_ridden",
            &kPrimaryTypeList,
            ThirdRouteRidden,
            2,
            {{"TRNZ_N", "výlet"}},
            {Q("Základní typ je již použit v jízdách,\npřesto zapsat provedenou změnu?", true)},
            true},
        ChangeCase{"primary_name_taken_no",
                   &kPrimaryTypeList,
                   Nothing,
                   2,
                   {{"TRNZ_N", "ZÁVOD"}},
                   {Q(kStorePrimary, true),
                    Q("Zadaný základní typ je již použit \n - pokračovat?", false)},
                   false},
        ChangeCase{"secondary_emptied_yes",
                   &kSecondaryTypeList,
                   Nothing,
                   202,
                   {{"TRN_N", ""}},
                   {Q("Opravdu prázdný vedlejší typ?", true), Q(kStoreSecondary, true)},
                   true},
        ChangeCase{"secondary_emptied_no",
                   &kSecondaryTypeList,
                   Nothing,
                   202,
                   {{"TRN_N", ""}},
                   {Q("Opravdu prázdný vedlejší typ?", false)},
                   false},
        ChangeCase{
            "secondary_ridden",
            &kSecondaryTypeList,
            ThirdRouteRidden,
            202,
            {{"TRN_N", "TEMPO"}},
            {Q("Vedlejší typ je již použit v jízdách,\npřesto zapsat provedenou změnu?", true)},
            true},
        // Within one primary type and in the same letter case only.
        ChangeCase{"secondary_name_taken_no",
                   &kSecondaryTypeList,
                   Nothing,
                   301,
                   {{"TRN_N", "ČASOVKA"}},
                   {Q(kStoreSecondary, true), Q(kSecondaryTaken, false)},
                   false},
        ChangeCase{"secondary_name_other_case",
                   &kSecondaryTypeList,
                   Nothing,
                   301,
                   {{"TRN_N", "časovka"}},
                   {Q(kStoreSecondary, true)},
                   true},
        ChangeCase{"secondary_name_of_other_primary",
                   &kSecondaryTypeList,
                   Nothing,
                   301,
                   {{"TRN_N", "FREKVENCE"}},
                   {Q(kStoreSecondary, true)},
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- adding --------------------------------------------------------------

struct AddCase {
    const char* name;
    const ListDescription* list;
    StartRows setup;
    int64_t selected;  // the selected primary type, for secondary types
    RowValues values;
    Talk talk;
    int64_t code;  // the new row's code; -1: nothing is added
};

void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.name;
}

class AddRuleTest : public ListRuleTest, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddRuleTest, NewRowIsCheckedThenStoredUnderTheNextCode) {
    const AddCase& c = GetParam();
    Start(c.setup);
    if (c.selected) {
        ASSERT_TRUE(db.TTRNZ().locate("TRNZ_C", Value(c.selected)).ok());
    }
    Table& table = (db.*c.list->table)();
    const int64_t rowsBefore = table.recordCount();
    ScriptedRider rider(c.talk);
    ListRule rule(*c.list, db, rider);
    RowEdit row(table);
    if (rule.mayAdd(c.values) && rule.confirmAdd()) {
        RowValues values = c.values;
        if (c.list->masterField) values.emplace_back(c.list->masterField, Value(c.selected));
        ASSERT_TRUE(rule.add(values, row).ok());
    }
    EXPECT_EQ(rider.check(), std::vector<std::string>{});
    if (c.code < 0) {
        EXPECT_EQ(table.recordCount(), rowsBefore);
        return;
    }
    EXPECT_EQ(table.getInt(c.list->codeField), c.code);  // the new row is current
    for (const auto& [field, value] : c.values)
        EXPECT_EQ(Stored(*c.list, c.code, field.c_str()), value.asText()) << field;
}

const char kAdd[] = "Opravdu přidat do databáze?";
const char kBikeEmpty[] = "Typ kola nebo značka kola jsou prázdné,\nje to v pořádku?";

INSTANTIATE_TEST_SUITE_P(
    Lists, AddRuleTest,
    ::testing::Values(
        AddCase{"routes_added",
                &kRouteList,
                Nothing,
                0,
                {{"TRS_MEZI", "A;B"}, {"TRS_N2", ""}},
                {Q(kAdd, true)},
                2},
        AddCase{"routes_no_waypoints",
                &kRouteList,
                Nothing,
                0,
                {{"TRS_MEZI", ""}},
                {W("Nejsou zadány žádné průjezdní body\noprav!")},
                -1},
        AddCase{"routes_waypoints_taken_yes_then_no",
                &kRouteList,
                Nothing,
                0,
                {{"TRS_MEZI", "Nespecifikováno"}},
                {Q(kTaken, true), Q(kAdd, false)},
                -1},
        AddCase{"routes_code2_taken",
                &kRouteList,
                Nothing,
                0,
                {{"TRS_MEZI", "A;B"}, {"TRS_N2", "NeSpec"}},
                {W("Zadaný \"Kód 2\" již obsahuje \njiná trať - nelze pokračovat?")},
                -1},
        AddCase{"bikes_added",
                &kBikeList,
                Nothing,
                0,
                {{"KOL_TYP", "HORSKÉ"}, {"KOL_ZNA", "AUTHOR"}},
                {Q(kAdd, true)},
                3},
        // An empty make matches the bikes whose make is empty.
        AddCase{"bikes_empty_make_taken",
                &kBikeList,
                Nothing,
                0,
                {{"KOL_TYP", "silniční závodní"}, {"KOL_ZNA", ""}},
                {Q(kBikeEmpty, true), W("Zadané nové kolo již existuje!\n=> nelze přidat")},
                -1},
        AddCase{"bikes_empty_make_no",
                &kBikeList,
                Nothing,
                0,
                {{"KOL_TYP", "HORSKÉ"}, {"KOL_ZNA", ""}},
                {Q(kBikeEmpty, false)},
                -1},
        AddCase{"watch_taken",
                &kWatchTypeList,
                Nothing,
                0,
                {{"THL_ZKR", "Hlídaný"}, {"THL_POP", "při překročení zpomalení"}},
                {W("Zadaný nový typ hlídání limitu tep. fr. již existuje!\n=> nelze přidat")},
                -1},
        AddCase{"watch_added",
                &kWatchTypeList,
                Nothing,
                0,
                {{"THL_ZKR", "hlídaný"}, {"THL_POP", "jen pípání"}},
                {Q(kAdd, true)},
                3},
        AddCase{"primary_empty",
                &kPrimaryTypeList,
                Nothing,
                0,
                {{"TRNZ_N", ""}},
                {W("Název základního typu nesmí být prázdný!")},
                -1},
        AddCase{"primary_taken",
                &kPrimaryTypeList,
                Nothing,
                0,
                {{"TRNZ_N", "Závod"}},
                {W("Zadaný nový základní typ již existuje!\n=> nelze přidat")},
                -1},
        AddCase{"primary_added",
                &kPrimaryTypeList,
                Nothing,
                0,
                {{"TRNZ_N", "dráha"}},
                {Q(kAdd, true)},
                4},
        AddCase{"secondary_empty",
                &kSecondaryTypeList,
                Nothing,
                2,
                {{"TRN_N", ""}},
                {W("Název vedlejšího typu nesmí být prázdný!")},
                -1},
        // Among the selected primary type's, without regard to letter case.
        AddCase{"secondary_taken",
                &kSecondaryTypeList,
                Nothing,
                2,
                {{"TRN_N", "frekvence"}},
                {W("Zadaný nový vedlejší typ již existuje!\n=> nelze přidat")},
                -1},
        AddCase{"secondary_added_in_its_range",
                &kSecondaryTypeList,
                Nothing,
                3,
                {{"TRN_N", "FREKVENCE"}},
                {Q(kAdd, true)},
                304},
        AddCase{"secondary_full",
                &kSecondaryTypeList,
                NinetyNineOfType3,
                3,
                {{"TRN_N", "100"}},
                {W("Překročen max. počet {99} vedlejších typů!\n=> nelze přidat")},
                -1}),
    [](const auto& info) { return std::string(info.param.name); });

// A table that cannot be read while checking: the rider is told and the
// row stays.
TEST_F(ListRuleTest, UnreadableRidesRefuseTheDeleteAndAreTold) {
    Start(ThirdRoute);
    Select(kRouteList, 2);
    db.Table1().close();
    std::filesystem::remove(tmp.file("jizdy.dbf"));
    ScriptedRider rider({});
    ListRule rule(kRouteList, db, rider);
    EXPECT_FALSE(rule.deleteCurrent());
    const std::vector<std::string> problems = rider.check();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("store: ", 0), 0u) << problems[0];
    EXPECT_TRUE(Exists(kRouteList, 2));
}

}  // namespace
}  // namespace kolvio
