// Each reference list described once, as data: its table and codes, what
// identifies a row and how it must be unique, the rows that must remain, the
// field of the rides that refers to it, and every message of its checks with
// its exact text, in the order the checks run. ListRule (list_rule.h) runs
// the checks from these descriptions; the screens only wire them up.
//
//   ListRule routes(kRouteList, db, rider);
//   if (routes.deleteCurrent()) ...
//
// Texts are UTF-8; "\n" is a line break of the message.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kolvio {

class Database;
class Table;

// What a check does when it finds its case: nothing, refuse with a warning
// (nothing is stored), or ask a question (No stops, Yes goes on).
struct Reaction {
    enum class Kind { kNone, kRefuse, kAsk };
    Kind kind = Kind::kNone;
    const char* text = nullptr;

    static Reaction Refuse(const char* text) { return {Kind::kRefuse, text}; }
    static Reaction Ask(const char* text) { return {Kind::kAsk, text}; }
};

// Fields that must not be empty (any one of them empty is the case).
struct Required {
    std::vector<const char*> fields;
    Reaction onAdd = {};     // before a new row is stored
    Reaction onChange = {};  // before a change is stored; a refusal cancels the change
};

// Rows must not share the values of `fields` (one field, or two that
// identify a row together). Text compares without regard to letter case
// unless said otherwise; a detail table compares within its master's rows.
struct Uniqueness {
    std::vector<const char*> fields;
    bool emptyMayRepeat = false;     // an empty value belongs to no row
    Reaction onAdd = {};             // a stored row holds the new values
    Reaction onChange = {};          // after storing, another row holds them; refused: written back
    bool changeMatchesCase = false;  // after a change, letter case counts
};

// When the current row may be deleted.
struct Removal {
    int64_t keepRows;  // refused while the table (or the master's rows) holds no more
    const char* keepText;
    std::optional<int64_t> reservedCode = {};  // a row that never goes
    const char* reservedText = nullptr;
    bool reservedFirst = false;  // the reserved code is tested before the row count
    const char* usedText;        // refused while a ride refers to the row
    const char* question;
};

struct ListDescription {
    const char* name;
    Table& (Database::*table)();
    const char* codeField;
    // A detail list: the field holding the master's code, and the codes of
    // its rows, master × 100 + 1 .. master × 100 + perMaster.
    const char* masterField = nullptr;
    int perMaster = 0;
    const char* fullText = nullptr;  // refusal of a new row when the master is full
    const char* rideField;           // the field of the rides that refers to a row
    Required required = {};
    std::vector<Uniqueness> unique = {};  // tested in this order
    const char* changeQuestion;
    // Asked instead when rides use the row; null: the rides are not looked at.
    const char* changeQuestionWhenUsed = nullptr;
    Removal removal;
};

extern const ListDescription kRouteList;
extern const ListDescription kBikeList;
extern const ListDescription kPrimaryTypeList;
extern const ListDescription kSecondaryTypeList;
extern const ListDescription kWatchTypeList;

// The question before any new row is stored.
inline constexpr char kAddQuestion[] = "Opravdu přidat do databáze?";

}  // namespace kolvio
