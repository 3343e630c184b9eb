#include "query/extremes.h"

#include <algorithm>
#include <map>

#include "data/database/schema.h"
#include "data/sql/sql_engine.h"
#include "query/column_catalogue.h"
#include "query/extreme_entries.h"
#include "query/result_table.h"

namespace kolvio {

namespace {

void AddOnce(std::vector<std::string>* columns, std::string expression) {
    if (expression.empty()) return;
    if (std::find(columns->begin(), columns->end(), expression) == columns->end())
        columns->push_back(std::move(expression));
}

struct Candidate {
    double value;
    Bookmark ride;
};

// The best `limit` rides of one direction, best first; a ride read later
// goes after the rides of equal value read before it.
class Leaders {
public:
    Leaders(int limit, bool highest) : limit_(static_cast<size_t>(limit)), highest_(highest) {}

    void offer(double value, Bookmark ride) {
        if (limit_ == 0) return;
        if (list_.size() == limit_ && !better(value, list_.back().value)) return;
        const auto at =
            std::upper_bound(list_.begin(), list_.end(), value,
                             [this](double v, const Candidate& c) { return better(v, c.value); });
        list_.insert(at, {value, ride});
        if (list_.size() > limit_) list_.pop_back();
    }

    // The ride of rank k (from 1); past the last ride the count stops there.
    std::optional<Bookmark> at(int k) const {
        if (list_.empty() || k < 1) return std::nullopt;
        return list_[std::min(static_cast<size_t>(k), list_.size()) - 1].ride;
    }

private:
    bool better(double a, double b) const { return highest_ ? a > b : a < b; }

    size_t limit_;
    bool highest_;
    std::vector<Candidate> list_;
};

struct FigureRanking {
    int field = -1;  // in pomocne
    int highestRanks = 0;
    int lowestRanks = 0;
    std::optional<Leaders> highest, lowest;
};

}  // namespace

std::vector<std::string> ExtremeSelectColumns(const std::vector<int>& codes,
                                              const std::vector<std::string>& labels) {
    std::vector<std::string> columns;
    for (int code : codes) {
        if (const auto extreme = DecodeExtreme(code))
            AddOnce(&columns, std::string(RideFigures()[extreme->figure - 1].selectColumn));
    }
    for (const std::string& label : labels)
        AddOnce(&columns, ColumnExpression(label));
    return columns;
}

std::vector<std::string> ExtremeStatement(BuilderState* state,
                                          const std::vector<std::string>& columns) {
    state->SelectList.clear();
    for (const std::string& column : columns) {
        if (!state->SelectList.empty()) state->SelectList += ", ";
        state->SelectList += column;
    }
    std::vector<std::string> lines = {"select " + state->SelectList, "from " + state->TableList};
    SQLWherePridej(*state, &lines);
    return lines;
}

std::vector<FieldDef> ExtremeResultFields(const std::vector<FieldLayout>& pomocne,
                                          const std::vector<std::string>& labels,
                                          std::vector<int>* sources) {
    std::vector<FieldDef> fields = {FieldDef::Char(kExtremeField, kExtremeFieldLength)};
    sources->clear();
    for (const std::string& label : labels) {
        const int at = FindField(pomocne, ResultColumnName(label));
        if (at < 0 || std::find(sources->begin(), sources->end(), at) != sources->end()) continue;
        fields.push_back(pomocne[static_cast<size_t>(at)]);
        sources->push_back(at);
    }
    return fields;
}

Status RankRides(Table& pomocne, const std::vector<int>& codes, std::vector<RankedRide>* out) {
    std::map<int, FigureRanking> figures;
    for (int code : codes) {
        const auto extreme = DecodeExtreme(code);
        if (!extreme) continue;
        FigureRanking& r = figures[extreme->figure];
        int& ranks = extreme->highest ? r.highestRanks : r.lowestRanks;
        ranks = std::max(ranks, std::max(extreme->rank, 1));
    }
    for (auto& [figure, r] : figures) {
        r.field = FindField(pomocne.fields(), RideFigures()[figure - 1].rankingField);
        r.highest.emplace(r.highestRanks, true);
        r.lowest.emplace(r.lowestRanks, false);
    }
    Status st = pomocne.first();
    for (; st.ok() && !pomocne.eof(); st = pomocne.next()) {
        for (auto& [figure, r] : figures) {
            if (r.field < 0) continue;
            const Value v = pomocne.value(r.field);
            if (!v.isNumber()) continue;
            const double value = v.asDouble();
            r.highest->offer(value, pomocne.bookmark());
            r.lowest->offer(value, pomocne.bookmark());
        }
    }
    KOLVIO_RETURN_IF_ERROR(st);
    out->clear();
    for (int code : codes) {
        RankedRide ranked;
        if (const auto extreme = DecodeExtreme(code)) {
            const FigureRanking& r = figures[extreme->figure];
            ranked.givesRow = true;
            ranked.ride = (extreme->highest ? r.highest : r.lowest)->at(std::max(extreme->rank, 1));
        }
        out->push_back(ranked);
    }
    return Status::Ok();
}

Status BuildExtremes(const std::string& dataDir, const std::vector<std::string>& lines,
                     const std::vector<ChosenExtreme>& entries,
                     const std::vector<std::string>& labels, Table& pomocne,
                     ExtremesReport* report) {
    *report = ExtremesReport();
    pomocne.close();
    ResultTableReport written;
    KOLVIO_RETURN_IF_ERROR(
        WriteResultTable(dataDir, sql::JoinStatementLines(lines), pomocne.fileName(), &written));
    pomocne.setDirectory(dataDir);
    KOLVIO_RETURN_IF_ERROR(pomocne.open());
    struct Closer {
        Table& t;
        ~Closer() { t.close(); }
    } closer{pomocne};
    report->rides = pomocne.recordCount();

    std::vector<int> codes;
    for (const ChosenExtreme& e : entries)
        codes.push_back(e.code);
    std::vector<RankedRide> ranked;
    KOLVIO_RETURN_IF_ERROR(RankRides(pomocne, codes, &ranked));
    std::vector<int> sources;
    const std::vector<FieldDef> fields = ExtremeResultFields(pomocne.fields(), labels, &sources);

    ResultTableReport result;
    const Status st = WriteRowsTable(
        dataDir, std::string(kResultFile), fields,
        [&](const RowWriter& write) -> Status {
            for (size_t i = 0; i < entries.size(); ++i) {
                if (!ranked[i].givesRow) continue;
                std::vector<Value> values(fields.size());
                values[0] = Value(entries[i].caption);
                if (ranked[i].ride) {
                    KOLVIO_RETURN_IF_ERROR(pomocne.gotoBookmark(*ranked[i].ride));
                    for (size_t f = 0; f < sources.size(); ++f)
                        values[f + 1] = pomocne.value(sources[f]);
                }
                KOLVIO_RETURN_IF_ERROR(write(values));
            }
            return Status::Ok();
        },
        &result);
    report->rows = result.rows;
    return st;
}

}  // namespace kolvio
