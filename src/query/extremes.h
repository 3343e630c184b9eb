// The extremes ranking: for chosen entries ("průměr 1. nejvyšší", code
// 101) the ride of that rank among the rides that pass the builder's
// criteria, one row of VYSLEDEK per entry with the chosen output columns of
// that ride.
//
//   1. one statement selects the figures of the chosen entries and the
//      expressions of the chosen output labels (each expression once) from
//      the rides and their reference tables, with the builder's where part;
//   2. its rows go into the work table pomocne (WriteResultTable);
//   3. each entry's ride is found by ranking the rides of pomocne on the
//      entry's figure, as they are written (ExtremeRanking);
//   4. VYSLEDEK gets the field EXTREM (the entry's caption) and the result
//      columns of the output labels that pomocne has, and one row per entry.
//
// Ranking. The k-th highest of a figure is the ride with the k-th highest
// value, the k-th lowest the one with the k-th lowest; with fewer rides than
// k the count stops at the last ride (the k-th highest is then the ride with
// the lowest value). Rides of equal value rank in the order of pomocne, the
// earlier first, in both directions. A ride whose figure is blank (a ride
// without a heart-rate monitor has no heart-rate figures) takes no rank:
// it is neither the highest nor the lowest of a figure it does not have.
// When no ride has a rank, the entry's row holds its caption alone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/status.h"
#include "data/table.h"
#include "query/statement.h"

namespace kolvio {

struct ChosenExtreme {
    std::string caption;  // "průměr 1. nejvyšší"
    int code;             // 101
};

// The select expressions of the figures of `codes` (codes that name no
// extreme add nothing) and of `labels`, in this order, each expression once.
std::vector<std::string> ExtremeSelectColumns(const std::vector<int>& codes,
                                              const std::vector<std::string>& labels);

// Sets state->SelectList to `columns` joined by ", " and returns the
// statement: select, from, the where part of the criteria.
std::vector<std::string> ExtremeStatement(BuilderState* state,
                                          const std::vector<std::string>& columns);

inline constexpr char kExtremeField[] = "EXTREM";
inline constexpr int kExtremeFieldLength = 100;

// The fields of VYSLEDEK: EXTREM, then the result column of each label that
// `pomocne` has, as defined there, in the order of `labels`. `sources` gets,
// for each field after EXTREM, its index in `pomocne`.
std::vector<FieldDef> ExtremeResultFields(const std::vector<FieldLayout>& pomocne,
                                          const std::vector<std::string>& labels,
                                          std::vector<int>* sources);

// Where the ride of an entry is.
struct RankedRide {
    bool givesRow = false;                     // false: the code names no extreme
    const std::vector<Value>* ride = nullptr;  // its row; null: no ride has a rank
};

// Ranks rows as they come, for each code, keeping only the rows that may
// still hold a chosen rank (at most ten per figure and direction).
class ExtremeRanking {
public:
    explicit ExtremeRanking(std::vector<int> codes);
    ~ExtremeRanking();

    // The fields of the rows offered.
    void setFields(const std::vector<FieldLayout>& fields);
    void offer(const std::vector<Value>& row);
    // One per code, in order; valid while the ranking lives.
    std::vector<RankedRide> ranked() const;

private:
    class Figures;
    std::vector<int> codes_;
    std::unique_ptr<Figures> figures_;
};

struct ExtremesReport {
    int64_t rides = 0;  // rows of pomocne
    int64_t rows = 0;   // rows of VYSLEDEK
};

// Steps 2 to 4 for the statement `lines`: pomocne (the file of the shared
// table object `pomocne`, which is closed first so that the file can be
// replaced), ranked as its rows are written, then VYSLEDEK. Each table is
// replaced safely as WriteResultTable does; a refused statement leaves
// both as they were.
Status BuildExtremes(const std::string& dataDir, const std::vector<std::string>& lines,
                     const std::vector<ChosenExtreme>& entries,
                     const std::vector<std::string>& labels, Table& pomocne,
                     ExtremesReport* report);

}  // namespace kolvio
