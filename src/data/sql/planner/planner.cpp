#include "data/sql/planner/planner.h"

#include <algorithm>
#include <bit>

#include "data/sql/binder/expression_binder.h"

namespace kolvio::sql {

namespace {

using BK = BoundExpr::Kind;

struct Edge {
    int a = -1;
    int b = -1;
    BoundExprPtr ea;  // over table a
    BoundExprPtr eb;  // over table b
    bool used = false;
};

struct Residual {
    uint64_t mask = 0;
    BoundExprPtr expr;
};

int SingleTable(uint64_t mask) {
    return std::popcount(mask) == 1 ? std::countr_zero(mask) : -1;
}

void CollectFields(const BoundExpr& e, std::vector<std::vector<int>>* used) {
    if (e.kind == BK::kColumn) {
        auto& list = (*used)[e.table];
        if (std::find(list.begin(), list.end(), e.field) == list.end()) list.push_back(e.field);
    }
    for (const auto& c : e.children)
        CollectFields(*c, used);
}

class Planner {
public:
    explicit Planner(BoundQuery q) : q_(std::move(q)) {
        used_.resize(q_.tables.size());
        offsets_.assign(q_.tables.size(), -1);
    }

    PhysicalPlan plan() {
        collectUsedFields();
        classifyWhere();
        chooseDriver();
        joinTables();
        finish();
        return std::move(p_);
    }

private:
    void collectUsedFields() {
        if (q_.where) CollectFields(*q_.where, &used_);
        for (const auto& g : q_.groups)
            CollectFields(*g, &used_);
        for (const auto& a : q_.aggregates)
            CollectFields(*a, &used_);
        if (!q_.aggregated) {
            for (const auto& o : q_.outputs)
                CollectFields(*o, &used_);
        }
    }

    void classifyWhere() {
        std::vector<BoundExprPtr> conjuncts;
        SplitConjuncts(std::move(q_.where), &conjuncts);
        tableFilters_.resize(q_.tables.size());
        for (auto& c : conjuncts) {
            const uint64_t mask = TablesUsed(*c);
            if (mask == 0) {
                constants_.push_back(std::move(c));
                continue;
            }
            if (const int t = SingleTable(mask); t >= 0) {
                tableFilters_[t].push_back(std::move(c));
                continue;
            }
            if (c->kind == BK::kCompare && c->compareOp == CompareOp::kEq &&
                std::popcount(mask) == 2) {
                const int a = SingleTable(TablesUsed(*c->children[0]));
                const int b = SingleTable(TablesUsed(*c->children[1]));
                if (a >= 0 && b >= 0 && a != b) {
                    Edge e;
                    e.a = a;
                    e.b = b;
                    e.ea = std::move(c->children[0]);
                    e.eb = std::move(c->children[1]);
                    edges_.push_back(std::move(e));
                    continue;
                }
            }
            residuals_.push_back({mask, std::move(c)});
        }
    }

    void chooseDriver() {
        int best = 0;
        for (size_t t = 1; t < q_.tables.size(); ++t) {
            if (q_.tables[t].table->recordCount > q_.tables[best].table->recordCount) {
                best = static_cast<int>(t);
            }
        }
        for (auto& c : constants_)
            tableFilters_[best].push_back(std::move(c));
        const std::optional<IndexLookup> lookup = findLookup(best);
        p_.driver = scanPlan(best);
        p_.driver.lookup = lookup;
        addToPipeline(best);
    }

    bool linked(int t) const {
        for (const Edge& e : edges_) {
            if (e.used) continue;
            if ((e.a == t && inPipeline(e.b)) || (e.b == t && inPipeline(e.a))) return true;
        }
        return false;
    }

    void joinTables() {
        for (;;) {
            int pick = -1;
            for (size_t t = 0; t < q_.tables.size(); ++t) {
                const int ti = static_cast<int>(t);
                if (inPipeline(ti) || !linked(ti)) continue;
                if (pick < 0 ||
                    q_.tables[t].table->recordCount < q_.tables[pick].table->recordCount) {
                    pick = ti;
                }
            }
            if (pick < 0) {
                for (size_t t = 0; t < q_.tables.size() && pick < 0; ++t) {
                    if (!inPipeline(static_cast<int>(t))) pick = static_cast<int>(t);
                }
            }
            if (pick < 0) return;
            joinTable(pick);
        }
    }

    void joinTable(int t) {
        JoinPlan join;
        join.build = scanPlan(t);
        for (Edge& e : edges_) {
            if (e.used) continue;
            BoundExprPtr* probe = nullptr;
            BoundExprPtr* build = nullptr;
            if (e.a == t && inPipeline(e.b)) {
                probe = &e.eb;
                build = &e.ea;
            } else if (e.b == t && inPipeline(e.a)) {
                probe = &e.ea;
                build = &e.eb;
            } else {
                continue;
            }
            e.used = true;
            toPipelineSlots(**probe);
            toScanSlots(**build, t);
            join.probeKeys.push_back(std::move(*probe));
            join.buildKeys.push_back(std::move(*build));
        }
        addToPipeline(t);
        std::vector<BoundExprPtr> ready;
        for (Residual& r : residuals_) {
            if (r.expr && (r.mask & ~joinedMask_) == 0) {
                toPipelineSlots(*r.expr);
                ready.push_back(std::move(r.expr));
            }
        }
        join.filter = JoinConjuncts(std::move(ready));
        p_.joins.push_back(std::move(join));
    }

    void finish() {
        p_.tables = q_.tables;
        p_.aggregated = q_.aggregated;
        for (auto& g : q_.groups) {
            toPipelineSlots(*g);
            p_.groups.push_back(std::move(g));
        }
        for (auto& a : q_.aggregates) {
            AggregatePlan agg;
            agg.func = a->aggFunc;
            agg.star = a->star;
            if (!a->star) {
                agg.arg = std::move(a->children[0]);
                toPipelineSlots(*agg.arg);
            }
            p_.aggregates.push_back(std::move(agg));
        }
        p_.having = std::move(q_.having);
        for (auto& o : q_.outputs) {
            if (!q_.aggregated) toPipelineSlots(*o);
            p_.outputs.push_back(std::move(o));
        }
        p_.visibleCount = q_.visibleCount;
        p_.distinct = q_.distinct;
        p_.order = q_.order;
        p_.fields = q_.fields;
        p_.driver.orderIndex = findOrderIndex();
    }

    // Rows neither grouped nor made distinct, ordered ascending by one
    // number or date field of the driving table that an ascending index
    // orders by alone. Joins keep the order of the driving rows (each one's
    // matches follow it), so they may follow too. Ties come in record order
    // both ways (the sort is stable).
    std::optional<IndexDef> findOrderIndex() const {
        if (p_.aggregated || p_.distinct || p_.order.size() != 1 || p_.order[0].descending) {
            return std::nullopt;
        }
        const BoundExpr& key = *p_.outputs[p_.order[0].column];
        if (key.kind != BK::kSlot || key.type == SqlType::kText) return std::nullopt;
        // The driving table's fields come first in the pipeline.
        if (key.slot < 0 || static_cast<size_t>(key.slot) >= p_.driver.fields.size()) {
            return std::nullopt;
        }
        const CatalogTable& table = *q_.tables[p_.driver.table].table;
        const std::string& name = table.fields[p_.driver.fields[key.slot]].name;
        for (const IndexDef& def : table.indexes) {
            const std::vector<std::string> parts = SplitIndexExpression(def.expression);
            if (!def.descending && parts.size() == 1 && EqualsIgnoreCase(parts[0], name)) {
                return def;
            }
        }
        return std::nullopt;
    }

    ScanPlan scanPlan(int t) {
        ScanPlan scan;
        scan.table = t;
        scan.fields = used_[t];
        for (auto& f : tableFilters_[t])
            toScanSlots(*f, t);
        scan.filter = JoinConjuncts(std::move(tableFilters_[t]));
        return scan;
    }

    // The first conjunct "field = constant" of table t on a field that an
    // index of the table orders by alone.
    std::optional<IndexLookup> findLookup(int t) const {
        const CatalogTable& table = *q_.tables[t].table;
        for (const auto& c : tableFilters_[t]) {
            if (c->kind != BK::kCompare || c->compareOp != CompareOp::kEq) continue;
            const BoundExpr* column = c->children[0].get();
            const BoundExpr* constant = c->children[1].get();
            if (column->kind != BK::kColumn) std::swap(column, constant);
            if (column->kind != BK::kColumn || constant->kind != BK::kConstant ||
                constant->constant.isNull() ||
                (column->type == SqlType::kText) != constant->constant.isText()) {
                continue;
            }
            const std::string& name = table.fields[column->field].name;
            for (const IndexDef& def : table.indexes) {
                const std::vector<std::string> parts = SplitIndexExpression(def.expression);
                if (parts.size() == 1 && EqualsIgnoreCase(parts[0], name)) {
                    return IndexLookup{def, constant->constant};
                }
            }
        }
        return std::nullopt;
    }

    bool inPipeline(int t) const { return offsets_[t] >= 0; }

    void addToPipeline(int t) {
        offsets_[t] = static_cast<int>(p_.pipelineTypes.size());
        joinedMask_ |= uint64_t{1} << t;
        for (int f : used_[t]) {
            p_.pipelineTypes.push_back(TypeOfField(q_.tables[t].table->fields[f]));
        }
    }

    int localSlot(int table, int field) const {
        const auto& list = used_[table];
        return static_cast<int>(std::find(list.begin(), list.end(), field) - list.begin());
    }

    void toScanSlots(BoundExpr& e, int table) {
        if (e.kind == BK::kColumn) {
            e.kind = BK::kSlot;
            e.slot = localSlot(table, e.field);
        }
        for (auto& c : e.children)
            toScanSlots(*c, table);
    }

    void toPipelineSlots(BoundExpr& e) {
        if (e.kind == BK::kColumn) {
            e.kind = BK::kSlot;
            e.slot = offsets_[e.table] + localSlot(e.table, e.field);
        }
        for (auto& c : e.children)
            toPipelineSlots(*c);
    }

    BoundQuery q_;
    PhysicalPlan p_;
    std::vector<std::vector<int>> used_;
    std::vector<int> offsets_;
    uint64_t joinedMask_ = 0;
    std::vector<std::vector<BoundExprPtr>> tableFilters_;
    std::vector<BoundExprPtr> constants_;
    std::vector<Edge> edges_;
    std::vector<Residual> residuals_;
};

}  // namespace

PhysicalPlan PlanQuery(BoundQuery query) {
    Planner planner(std::move(query));
    return planner.plan();
}

}  // namespace kolvio::sql
