#include "data/sql/binder/binder.h"

#include <cmath>

#include "data/sql/binder/expression_binder.h"
#include "data/sql/binder/result_fields.h"

namespace kolvio::sql {

namespace {

using PK = ParsedExpr::Kind;
using BK = BoundExpr::Kind;

constexpr size_t kMaxTables = 64;

struct Item {
    BoundExprPtr expr;
    std::string alias;
    std::string outputName;  // the result field name
};

std::vector<BoundTableRef> BindTables(const std::vector<TableRef>& from, Catalog& catalog) {
    if (from.size() > kMaxTables) {
        throw SqlError("Příliš mnoho tabulek ve FROM (nejvýše 64)", from[kMaxTables].pos);
    }
    std::vector<BoundTableRef> tables;
    for (const TableRef& ref : from) {
        CatalogTable* table = catalog.find(ref.name);
        if (!table) {
            throw SqlError("Tabulka " + Quoted(TableFileName(ref.name)) + " neexistuje", ref.pos,
                           Status::Code::kNotFound);
        }
        BoundTableRef bound;
        bound.table = table;
        bound.name = ref.alias.empty() ? std::string(TableBaseName(ref.name)) : ref.alias;
        bound.pos = ref.pos;
        for (const auto& other : tables) {
            if (EqualsIgnoreCase(other.name, bound.name)) {
                throw SqlError(
                    "Tabulka " + Quoted(bound.name) + " je ve FROM dvakrát; odlište ji aliasem",
                    ref.pos);
            }
        }
        tables.push_back(std::move(bound));
    }
    return tables;
}

// An integer literal in GROUP BY or ORDER BY: an ordinal position (1-based).
bool Ordinal(const ParsedExpr& e, size_t count, size_t* index) {
    if (e.kind != PK::kNumber) return false;
    // The range first: a number beyond `long` must not reach the cast.
    if (!(e.number >= 1 && e.number <= static_cast<double>(count)) ||
        e.number != std::floor(e.number)) {
        throw SqlError("Pořadí sloupce " + e.name + " je mimo seznam SELECT (1 až " +
                           std::to_string(count) + ")",
                       e.pos);
    }
    *index = static_cast<size_t>(e.number) - 1;
    return true;
}

class SelectBinder {
public:
    SelectBinder(const SelectStatement& stmt, Catalog& catalog) : stmt_(stmt), exprs_(q_.tables) {
        q_.tables = BindTables(stmt.from, catalog);
    }

    BoundQuery bind() {
        bindItems();
        if (stmt_.where) {
            q_.where = exprs_.bind(*stmt_.where, false, "WHERE");
            CoerceTo(q_.where, SqlType::kBool, stmt_.where->pos);
        }
        for (const auto& g : stmt_.groupBy)
            q_.groups.push_back(bindGroup(*g));
        BoundExprPtr having;
        if (stmt_.having) {
            having = exprs_.bind(*stmt_.having, true, "HAVING");
            CoerceTo(having, SqlType::kBool, stmt_.having->pos);
        }
        bool anyAggregate = having != nullptr;
        for (const Item& item : items_)
            anyAggregate |= ContainsAggregate(*item.expr);
        q_.visibleCount = items_.size();
        for (Item& item : items_)
            q_.outputs.push_back(std::move(item.expr));
        for (const OrderItem& o : stmt_.orderBy) {
            OrderKey key;
            key.column = bindOrder(*o.expr);
            key.descending = o.descending;
            q_.order.push_back(key);
        }
        for (size_t i = q_.visibleCount; i < q_.outputs.size(); ++i) {
            anyAggregate |= ContainsAggregate(*q_.outputs[i]);
        }
        q_.distinct = stmt_.distinct;
        if (q_.distinct && q_.outputs.size() > q_.visibleCount) {
            throw SqlError("Při SELECT DISTINCT lze řadit jen podle vybraných sloupců",
                           stmt_.orderBy.front().expr->pos);
        }
        q_.aggregated = anyAggregate || !q_.groups.empty();
        if (q_.aggregated) {
            for (auto& out : q_.outputs)
                rewriteForGroups(out, "SELECT");
            if (having) {
                rewriteForGroups(having, "HAVING");
                q_.having = std::move(having);
            }
        }
        return std::move(q_);
    }

private:
    void bindItems() {
        std::vector<std::string> wanted;
        for (const SelectItem& item : stmt_.items) {
            if (!item.expr) {
                expandStar();
                continue;
            }
            Item bound;
            bound.expr = exprs_.bind(*item.expr, true, "SELECT");
            bound.expr->textLiteral = false;
            bound.alias = item.alias;
            items_.push_back(std::move(bound));
        }
        for (size_t i = 0; i < items_.size(); ++i) {
            wanted.push_back(WantedFieldName(*items_[i].expr, items_[i].alias, i + 1, q_.tables));
        }
        const std::vector<std::string> names = MakeFieldNames(wanted);
        for (size_t i = 0; i < items_.size(); ++i) {
            items_[i].outputName = names[i];
            FieldDef def = ResultFieldDef(*items_[i].expr, q_.tables);
            def.name = names[i];
            q_.fields.push_back(std::move(def));
            names_.push_back(names[i]);
            aliases_.push_back(items_[i].alias);
        }
    }

    void expandStar() {
        for (size_t t = 0; t < q_.tables.size(); ++t) {
            const auto& fields = q_.tables[t].table->fields;
            for (size_t f = 0; f < fields.size(); ++f) {
                Item item;
                item.expr = MakeBound(BK::kColumn, TypeOfField(fields[f]), {});
                item.expr->table = static_cast<int>(t);
                item.expr->field = static_cast<int>(f);
                items_.push_back(std::move(item));
            }
        }
    }

    // The select item whose output name or alias is `name`; -1 when none,
    // throws when several.
    int itemByName(const ParsedExpr& e) const {
        if (e.kind != PK::kColumn || !e.qualifier.empty()) return -1;
        int found = -1;
        for (size_t i = 0; i < names_.size(); ++i) {
            if (!EqualsIgnoreCase(names_[i], e.name) && !EqualsIgnoreCase(aliases_[i], e.name)) {
                continue;
            }
            if (found >= 0 && !SameExpr(*q_.outputs[found], *q_.outputs[i])) {
                throw SqlError(
                    "Název " + Quoted(e.name) + " má v seznamu SELECT více sloupců; uveďte tabulku",
                    e.pos);
            }
            if (found < 0) found = static_cast<int>(i);
        }
        return found;
    }

    BoundExprPtr bindGroup(const ParsedExpr& e) {
        size_t ordinal = 0;
        const BoundExpr* itemExpr = nullptr;
        if (Ordinal(e, items_.size(), &ordinal)) {
            itemExpr = items_[ordinal].expr.get();
        } else if (e.kind == PK::kColumn && e.qualifier.empty()) {
            // A column of the tables wins over an output alias of the same name.
            if (BoundExprPtr col = exprs_.column(e, true)) return col;
            for (const Item& item : items_) {
                if (EqualsIgnoreCase(item.alias, e.name)) itemExpr = item.expr.get();
            }
            if (!itemExpr) throw SqlError("Neznámý sloupec " + Quoted(e.name), e.pos);
        }
        if (itemExpr) {
            if (ContainsAggregate(*itemExpr)) {
                throw SqlError("Podle agregační funkce nelze seskupovat", e.pos);
            }
            return Clone(*itemExpr);
        }
        return exprs_.bind(e, false, "GROUP BY");
    }

    // Index into q_.outputs of the sort key, adding a hidden output when the
    // key is not among the visible ones.
    int bindOrder(const ParsedExpr& e) {
        size_t ordinal = 0;
        if (Ordinal(e, q_.visibleCount, &ordinal)) return static_cast<int>(ordinal);
        const int byName = itemByName(e);
        if (byName >= 0) return byName;
        BoundExprPtr bound = exprs_.bind(e, true, "ORDER BY");
        bound->textLiteral = false;
        for (size_t i = 0; i < q_.outputs.size(); ++i) {
            if (SameExpr(*q_.outputs[i], *bound)) return static_cast<int>(i);
        }
        q_.outputs.push_back(std::move(bound));
        return static_cast<int>(q_.outputs.size() - 1);
    }

    // Replaces group keys and aggregates by slots of the grouped row; a
    // column left over is neither grouped nor aggregated.
    void rewriteForGroups(BoundExprPtr& e, const char* clause) {
        for (size_t g = 0; g < q_.groups.size(); ++g) {
            if (SameExpr(*e, *q_.groups[g])) {
                e = MakeSlot(static_cast<int>(g), e->type);
                return;
            }
        }
        if (e->kind == BK::kAggregate) {
            size_t a = 0;
            while (a < q_.aggregates.size() && !SameExpr(*q_.aggregates[a], *e))
                ++a;
            if (a == q_.aggregates.size()) q_.aggregates.push_back(Clone(*e));
            e = MakeSlot(static_cast<int>(q_.groups.size() + a), e->type);
            return;
        }
        if (e->kind == BK::kColumn) {
            const auto& t = q_.tables[e->table];
            throw SqlError(std::string("Sloupec ") +
                               Quoted(t.name + "." + t.table->fields[e->field].name) + " v části " +
                               clause +
                               " musí být uveden v GROUP BY nebo použit v agregační funkci",
                           e->pos);
        }
        for (auto& c : e->children)
            rewriteForGroups(c, clause);
    }

    const SelectStatement& stmt_;
    BoundQuery q_;
    ExpressionBinder exprs_;
    std::vector<Item> items_;
    std::vector<std::string> names_;
    std::vector<std::string> aliases_;
};

}  // namespace

BoundQuery BindSelect(const SelectStatement& stmt, Catalog& catalog) {
    SelectBinder binder(stmt, catalog);
    return binder.bind();
}

}  // namespace kolvio::sql
