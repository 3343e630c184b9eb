#include "lists/list_rules.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/text_case.h"
#include "data/database/index_helpers.h"
#include "lists/stored_rows.h"

namespace kolvio {

namespace {

// How a wanted value is compared with the stored ones of one field.
class ValueMatcher {
public:
    ValueMatcher(const FieldLayout& field, const Value& wanted, bool foldCase)
        : type_(field.type), wanted_(wanted), foldCase_(foldCase) {
        if (isText()) {
            std::string text = wanted.isText() ? wanted.asText() : std::string();
            // Stored text loses its trailing blanks; so does the wanted one.
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            text_ = foldCase_ ? FoldCase(text) : text;
        }
    }

    bool matches(const Value& stored) const {
        if (isText()) {
            const std::string& text = stored.isText() ? stored.asText() : kEmpty;
            return (foldCase_ ? FoldCase(text) : text) == text_;
        }
        // A blank number reads as 0, as the code fields are read everywhere.
        if (IsNumericType(type_)) return stored.asDouble() == wanted_.asDouble();
        return stored == wanted_;
    }

private:
    bool isText() const { return type_ == FieldType::kChar || type_ == FieldType::kMemo; }

    static inline const std::string kEmpty;
    FieldType type_;
    Value wanted_;
    bool foldCase_;
    std::string text_;
};

Status MissingField(std::string_view field) {
    return Status::Invalid("Tabulka nemá pole \"" + std::string(field) + "\".");
}

// Walks the current view of `dataset` from its first row while `visit`
// returns true, then puts the cursor back on the row it was on.
Status WalkView(Dataset& dataset, const std::function<bool()>& visit) {
    if (!dataset.isOpen()) return Status::Invalid("Tabulka není otevřená.");
    if (dataset.state() == DatasetState::kEdit || dataset.state() == DatasetState::kInsert) {
        return Status::Invalid("Tabulku nelze procházet, dokud se upravuje řádek.");
    }
    const int64_t row = dataset.rowNumber();
    dataset.disableControls();
    Status st = dataset.first();
    while (st.ok() && !dataset.eof() && visit())
        st = dataset.next();
    const Status back = row >= 0 ? dataset.moveToRow(row) : dataset.first();
    dataset.enableControls();
    return st.ok() ? back : st;
}

// Counts the rows matching every (field, value) pair, up to `n`.
// Text compares without regard to letter case. `inView`: the rows of the
// dataset's current view instead of every stored row.
Status CountMatches(Table& table, const std::vector<std::pair<std::string_view, Value>>& wanted,
                    int n, bool inView, bool* reached) {
    *reached = false;
    int count = 0;
    std::vector<std::pair<int, ValueMatcher>> matchers;
    auto prepare = [&](const Dataset& rows) -> Status {
        matchers.clear();
        for (const auto& [field, value] : wanted) {
            const int index = rows.fieldIndex(field);
            if (index < 0) return MissingField(field);
            matchers.emplace_back(index, ValueMatcher(rows.fields()[index], value, true));
        }
        return Status::Ok();
    };
    auto visit = [&](const Dataset& rows) {
        for (const auto& [index, matcher] : matchers) {
            if (!matcher.matches(rows.value(index))) return true;
        }
        return ++count < n;
    };
    if (inView) {
        KOLVIO_RETURN_IF_ERROR(prepare(table));
        KOLVIO_RETURN_IF_ERROR(WalkView(table, [&] { return visit(table); }));
    } else {
        StoredRows rows(table);
        KOLVIO_RETURN_IF_ERROR(rows.open());
        KOLVIO_RETURN_IF_ERROR(prepare(rows.table()));
        KOLVIO_RETURN_IF_ERROR(rows.forEach(visit));
    }
    *reached = count >= n;
    return Status::Ok();
}

}  // namespace

Status NextFreeCode(Table& table, std::string_view codeField, int64_t low, int64_t high,
                    int64_t* code) {
    StoredRows rows(table);
    KOLVIO_RETURN_IF_ERROR(rows.open());
    const int index = rows.table().fieldIndex(codeField);
    if (index < 0) return MissingField(codeField);
    std::vector<int64_t> codes;
    KOLVIO_RETURN_IF_ERROR(rows.forEach([&](const Dataset& row) {
        const int64_t c = row.value(index).asInt();
        if (c >= low && c <= high) codes.push_back(c);
        return true;
    }));
    std::sort(codes.begin(), codes.end());

    const int64_t lowest = codes.empty() ? 0 : codes.front();
    const int64_t highest = codes.empty() ? 0 : codes.back();
    int64_t result = highest + 1;
    // Fewer rows than codes between the lowest and the highest: the first
    // hole above the lowest code is filled.
    if (static_cast<int64_t>(codes.size()) < highest - lowest + 1) {
        for (size_t i = 0; i + 1 < codes.size(); ++i) {
            if (codes[i + 1] > codes[i] + 1) {
                result = codes[i] + 1;
                break;
            }
        }
    }
    *code = std::max(result, low);
    return Status::Ok();
}

Status NextFreeCode(Table& table, std::string_view codeField, int64_t* code) {
    return NextFreeCode(table, codeField, INT64_MIN / 2, INT64_MAX / 2, code);
}

Status ValueOccurs(Table& table, std::string_view field, const Value& value, int n, bool* occurs) {
    return CountMatches(table, {{field, value}}, n, table.master() != nullptr, occurs);
}

Status PairOccurs(Table& table, std::string_view field1, const Value& value1,
                  std::string_view field2, const Value& value2, int n, bool* occurs) {
    return CountMatches(table, {{field1, value1}, {field2, value2}}, n, table.master() != nullptr,
                        occurs);
}

Status CountInView(Dataset& dataset, std::string_view field, const Value& value, int n,
                   bool* occurs) {
    *occurs = false;
    const int index = dataset.fieldIndex(field);
    if (index < 0) return MissingField(field);
    const ValueMatcher matcher(dataset.fields()[index], value, false);
    int count = 0;
    KOLVIO_RETURN_IF_ERROR(WalkView(dataset, [&] {
        if (matcher.matches(dataset.value(index))) ++count;
        return count < n;
    }));
    *occurs = count >= n;
    return Status::Ok();
}

Status UsedInRides(Table& rides, std::string_view codeField, int64_t code, bool* used) {
    return ValueOccurs(rides, codeField, Value(code), 1, used);
}

Status FlipRideDirections(Table& rides, int64_t routeCode, int* changed) {
    if (changed) *changed = 0;
    if (!rides.isOpen()) return Status::Invalid("Tabulka jízd není otevřená.");
    if (rides.state() != DatasetState::kBrowse) {
        return Status::Invalid("Jízdy nelze měnit, dokud se upravuje jízda.");
    }
    KOLVIO_RETURN_IF_ERROR(EnsureIndex(rides, "TRS_C", "TRS_C"));
    const std::string order = rides.indexName();
    const bool hadRow = rides.rowNumber() >= 0;
    const Bookmark mark = rides.bookmark();

    rides.disableControls();
    Status st = rides.setIndexName("TRS_C");
    if (st.ok()) st = rides.findKey({Value(routeCode)});
    // No ride on the route: nothing to flip.
    const bool found = st.ok();
    if (st.notFound()) st = Status::Ok();
    while (st.ok() && found && !rides.eof() && rides.getInt("TRS_C") == routeCode) {
        const int64_t direction = rides.getInt("TRS_SMER");
        if (direction == 1 || direction == 2) {
            st = rides.edit();
            if (st.ok()) st = rides.setValue("TRS_SMER", Value(direction == 1 ? 2 : 1));
            if (st.ok()) st = rides.post();
            if (!st.ok()) {
                rides.cancel();
                break;
            }
            if (changed) ++*changed;
        }
        st = rides.next();
    }
    Status back = rides.setIndexName(order);
    if (back.ok()) back = hadRow ? rides.gotoBookmark(mark) : rides.first();
    rides.enableControls();
    return st.ok() ? back : st;
}

}  // namespace kolvio
