#include "query/extremes.h"

#include <algorithm>
#include <map>
#include <memory>

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

// The best `limit` rows of one direction, best first; a row read later goes
// after the rows of equal value read before it. Only the rows that enter
// the list are copied.
class Leaders {
public:
    Leaders(int limit, bool highest) : limit_(static_cast<size_t>(limit)), highest_(highest) {}

    void offer(double value, const std::vector<Value>& row) {
        if (limit_ == 0) return;
        if (list_.size() == limit_ && !better(value, list_.back().value)) return;
        const auto at =
            std::upper_bound(list_.begin(), list_.end(), value,
                             [this](double v, const Candidate& c) { return better(v, c.value); });
        list_.insert(at, {value, row});
        if (list_.size() > limit_) list_.pop_back();
    }

    // The row of rank k (from 1); past the last row the count stops there.
    const std::vector<Value>* at(int k) const {
        if (list_.empty() || k < 1) return nullptr;
        return &list_[std::min(static_cast<size_t>(k), list_.size()) - 1].row;
    }

private:
    struct Candidate {
        double value;
        std::vector<Value> row;
    };

    bool better(double a, double b) const { return highest_ ? a > b : a < b; }

    size_t limit_;
    bool highest_;
    std::vector<Candidate> list_;
};

struct FigureRanking {
    int field = -1;  // in the rows ranked
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

class ExtremeRanking::Figures : public std::map<int, FigureRanking> {};

ExtremeRanking::ExtremeRanking(std::vector<int> codes)
    : codes_(std::move(codes)), figures_(std::make_unique<Figures>()) {
    for (int code : codes_) {
        const auto extreme = DecodeExtreme(code);
        if (!extreme) continue;
        FigureRanking& r = (*figures_)[extreme->figure];
        int& ranks = extreme->highest ? r.highestRanks : r.lowestRanks;
        ranks = std::max(ranks, std::max(extreme->rank, 1));
    }
    for (auto& [figure, r] : *figures_) {
        r.highest.emplace(r.highestRanks, true);
        r.lowest.emplace(r.lowestRanks, false);
    }
}

ExtremeRanking::~ExtremeRanking() = default;

void ExtremeRanking::setFields(const std::vector<FieldLayout>& fields) {
    for (auto& [figure, r] : *figures_)
        r.field = FindField(fields, RideFigures()[figure - 1].rankingField);
}

void ExtremeRanking::offer(const std::vector<Value>& row) {
    for (auto& [figure, r] : *figures_) {
        if (r.field < 0 || static_cast<size_t>(r.field) >= row.size()) continue;
        const Value& v = row[static_cast<size_t>(r.field)];
        if (!v.isNumber()) continue;
        r.highest->offer(v.asDouble(), row);
        r.lowest->offer(v.asDouble(), row);
    }
}

std::vector<RankedRide> ExtremeRanking::ranked() const {
    std::vector<RankedRide> out;
    for (int code : codes_) {
        RankedRide ranked;
        if (const auto extreme = DecodeExtreme(code)) {
            const FigureRanking& r = figures_->at(extreme->figure);
            ranked.givesRow = true;
            ranked.ride = (extreme->highest ? r.highest : r.lowest)->at(std::max(extreme->rank, 1));
        }
        out.push_back(ranked);
    }
    return out;
}

Status BuildExtremes(const std::string& dataDir, const std::vector<std::string>& lines,
                     const std::vector<ChosenExtreme>& entries,
                     const std::vector<std::string>& labels, Table& pomocne,
                     ExtremesReport* report) {
    *report = ExtremesReport();
    pomocne.close();
    std::vector<int> codes;
    for (const ChosenExtreme& e : entries)
        codes.push_back(e.code);
    // Ranked as the rows go into pomocne, so pomocne is not read again.
    ExtremeRanking ranking(codes);
    std::vector<FieldLayout> pomocneFields;
    ResultObserver observer;
    observer.fields = [&](const std::vector<FieldDef>& fields) {
        for (const FieldDef& f : fields)
            pomocneFields.push_back(FieldLayout{f, 0});
        ranking.setFields(pomocneFields);
    };
    observer.row = [&](const std::vector<Value>& row) { ranking.offer(row); };
    ResultTableReport written;
    KOLVIO_RETURN_IF_ERROR(WriteResultTable(dataDir, sql::JoinStatementLines(lines),
                                            pomocne.fileName(), &written, &observer));
    report->rides = written.rows;

    const std::vector<RankedRide> ranked = ranking.ranked();
    std::vector<int> sources;
    const std::vector<FieldDef> fields = ExtremeResultFields(pomocneFields, labels, &sources);
    ResultTableReport result;
    const Status st = WriteRowsTable(
        dataDir, std::string(kResultFile), fields,
        [&](const RowWriter& write) -> Status {
            for (size_t i = 0; i < entries.size(); ++i) {
                if (!ranked[i].givesRow) continue;
                std::vector<Value> values(fields.size());
                values[0] = Value(entries[i].caption);
                if (const std::vector<Value>* ride = ranked[i].ride) {
                    for (size_t f = 0; f < sources.size(); ++f)
                        values[f + 1] = (*ride)[static_cast<size_t>(sources[f])];
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
