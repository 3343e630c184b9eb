#include "data/sql/sql_engine.h"

#include "data/file.h"
#include "data/sql/answer_cache.h"
#include "data/sql/binder/binder.h"
#include "data/sql/binder/catalog.h"
#include "data/sql/execution/executor.h"
#include "data/sql/parser/parser.h"
#include "data/sql/planner/planner.h"
#include "data/table_rewrite.h"

namespace kolvio::sql {

namespace {

// Collects every row for a ResultSet.
class Collector final : public RowSink {
public:
    explicit Collector(const PhysicalPlan& plan) {
        std::vector<SqlType> types;
        for (size_t i = 0; i < plan.visibleCount; ++i)
            types.push_back(plan.outputs[i]->type);
        rows_ = ColumnData(types);
    }
    void consume(const DataChunk& chunk) override { rows_.append(chunk); }
    void consumeAll(RowCollection rows, const std::vector<uint32_t>& order) override {
        rows_ = rows.toColumnData(order);
    }
    std::unique_ptr<ResultSet> result(const std::vector<FieldDef>& fields) {
        return std::make_unique<ResultSet>(fields, std::move(rows_));
    }

private:
    ColumnData rows_;
};

class RowCallbackSink final : public RowSink {
public:
    explicit RowCallbackSink(const std::function<void(const std::vector<Value>&)>& row)
        : row_(row) {}
    void consume(const DataChunk& chunk) override {
        values_.resize(chunk.columns.size());
        for (size_t i = 0; i < chunk.size; ++i) {
            for (size_t c = 0; c < chunk.columns.size(); ++c)
                values_[c] = chunk.columns[c].value(i);
            row_(values_);
        }
    }

private:
    const std::function<void(const std::vector<Value>&)>& row_;
    std::vector<Value> values_;
};

FieldDef DefinitionOf(const AlterAddColumn& a) {
    const std::string name = ToUpperAscii(a.column);
    bool valid = !name.empty() && name.size() <= 10 && !(name[0] >= '0' && name[0] <= '9');
    for (char c : name)
        valid &= (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!valid) {
        throw SqlError("Neplatný název sloupce " + Quoted(a.column) +
                           " (nejvýše 10 písmen bez diakritiky, číslic nebo podtržítek)",
                       a.columnPos);
    }
    using K = ColumnTypeSpec::Kind;
    const ColumnTypeSpec& t = a.type;
    switch (t.kind) {
        case K::kInteger:
            return FieldDef::Numeric(name, 11, 0);
        case K::kSmallInt:
            return FieldDef::Numeric(name, 6, 0);
        case K::kBoolean:
            return FieldDef::Logical(name);
        case K::kDate:
            return FieldDef::DateField(name);
        case K::kFloat:
            return FieldDef::Float(name, t.width, t.decimals);
        case K::kNumeric:
            return FieldDef::Numeric(name, t.width, t.decimals);
        case K::kChar:
            return FieldDef::Char(name, t.width);
    }
    return FieldDef::Numeric(name, 11, 0);
}

void RunAlter(const std::string& directory, const AlterAddColumn& a) {
    const FieldDef def = DefinitionOf(a);
    const std::string fileName = TableFileName(a.table.name);
    const std::string path = ResolveInDirectory(directory, fileName);
    if (!PathExists(path) || a.table.name.find('/') != std::string::npos) {
        throw SqlError("Tabulka " + Quoted(fileName) + " neexistuje", a.table.pos,
                       Status::Code::kNotFound);
    }
    const Status st = AddColumn(directory, fileName, def);
    if (st.code() == Status::Code::kInvalid) throw SqlError(st.message(), a.columnPos);
    ThrowIfError(st);
}

PhysicalPlan Prepare(const SelectStatement& s, Catalog& catalog) {
    return PlanQuery(BindSelect(s, catalog));
}

const SelectStatement& RequireSelect(const Statement& st) {
    if (const auto* s = std::get_if<SelectStatement>(&st)) return *s;
    throw SqlError("Příkaz nevrací řádky; dotaz musí začínat SELECT", SourcePos{0, 1, 1});
}

// An answer remembered for the one table of a statement, as it is now.
std::shared_ptr<const CachedAnswer> CachedAnswerFor(const BoundQuery& bound,
                                                    const std::string& text) {
    if (bound.tables.size() != 1) return nullptr;
    const CatalogTable& table = *bound.tables[0].table;
    if (!table.file) return nullptr;
    return AnswerCache::Shared().find(table.path, table.identity, text);
}

std::unique_ptr<ResultSet> RunSelect(const std::string& directory, const SelectStatement& s,
                                     std::string_view text) {
    const std::string key(text);
    // Binding resolves every table name and opens the file it names now.
    DirectoryCatalog catalog(directory);
    BoundQuery bound = BindSelect(s, catalog);
    if (auto cached = CachedAnswerFor(bound, key)) {
        return std::make_unique<ResultSet>(cached->fields, cached->rows);
    }
    const PhysicalPlan plan = PlanQuery(std::move(bound));
    Collector collector(plan);
    const ExecutionInfo info = ExecutePlan(plan, collector);
    auto result = collector.result(plan.fields);
    if (info.fromZones) {
        auto answer = std::make_shared<CachedAnswer>();
        const CatalogTable& table = *plan.tables[plan.driver.table].table;
        answer->tablePath = table.path;
        answer->identity = table.identity;
        answer->fields = plan.fields;
        answer->rows = result->rows();
        AnswerCache::Shared().store(key, std::move(answer));
    }
    return result;
}

void StreamSelect(const std::string& directory, const SelectStatement& s,
                  const std::function<void(const std::vector<FieldDef>&)>& begin,
                  const std::function<void(const std::vector<Value>&)>& row) {
    DirectoryCatalog catalog(directory);
    const PhysicalPlan plan = Prepare(s, catalog);
    begin(plan.fields);
    RowCallbackSink sink(row);
    ExecutePlan(plan, sink);
}

template <class F>
Status Guard(F&& body) {
    try {
        body();
        return Status::Ok();
    } catch (const SqlError& e) {
        return e.toStatus();
    } catch (const std::bad_alloc&) {
        return Status::IoError("Na výsledek dotazu nestačí paměť.");
    }
}

}  // namespace

std::string JoinStatementLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

Status Query(const std::string& directory, std::string_view text, std::unique_ptr<ResultSet>* out) {
    return Guard([&] {
        const Statement st = ParseStatement(text);
        *out = RunSelect(directory, RequireSelect(st), text);
    });
}

Status Execute(const std::string& directory, std::string_view text,
               std::unique_ptr<ResultSet>* out) {
    return Guard([&] {
        const Statement st = ParseStatement(text);
        if (out) out->reset();
        if (const auto* alter = std::get_if<AlterAddColumn>(&st)) {
            RunAlter(directory, *alter);
            return;
        }
        auto result = RunSelect(directory, std::get<SelectStatement>(st), text);
        if (out) *out = std::move(result);
    });
}

Status QueryEach(const std::string& directory, std::string_view text,
                 const std::function<void(const std::vector<FieldDef>&)>& begin,
                 const std::function<void(const std::vector<Value>&)>& row) {
    return Guard([&] {
        const Statement st = ParseStatement(text);
        StreamSelect(directory, RequireSelect(st), begin, row);
    });
}

Status ExecuteEach(const std::string& directory, std::string_view text,
                   const std::function<void(const std::vector<FieldDef>&)>& begin,
                   const std::function<void(const std::vector<Value>&)>& row) {
    return Guard([&] {
        const Statement st = ParseStatement(text);
        if (const auto* alter = std::get_if<AlterAddColumn>(&st)) {
            RunAlter(directory, *alter);
            return;
        }
        StreamSelect(directory, std::get<SelectStatement>(st), begin, row);
    });
}

Status ColumnDefinition(std::string_view name, std::string_view type, FieldDef* out) {
    return Guard([&] {
        const std::string text =
            "ALTER TABLE \"x.dbf\" ADD COLUMN " + std::string(name) + " " + std::string(type);
        const Statement st = ParseStatement(text);
        *out = DefinitionOf(std::get<AlterAddColumn>(st));
    });
}

}  // namespace kolvio::sql
