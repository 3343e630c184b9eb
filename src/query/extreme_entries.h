// The entries of the extremes ranking: for each of thirteen ride figures the
// 1st to 10th highest and lowest ride, each entry known by a caption and a
// numeric code.
//
// Code of figure f (1..13) and rank k: f × 100 + k for the k-th highest,
// f × 100 + 50 + k for the k-th lowest ("průměr 1. nejvyšší" is 101,
// "tep max 3. nejnižší" 653).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvio {

struct RideFigure {
    std::string_view name;          // "průměr", as the entries' captions begin
    std::string_view selectColumn;  // "JIZDY.PRUMER"
    std::string_view rankingField;  // "PRUMER"
};

// Figures 1 to 13, in their order.
std::span<const RideFigure> RideFigures();

struct ExtremeEntry {
    std::string caption;  // "průměr 1. nejvyšší"
    int code;             // 101
};

// The 260 entries in the order the list offers them: figure 1 to 13, each
// with its 1st to 10th highest, then its 1st to 10th lowest.
std::vector<ExtremeEntry> ExtremeEntries();

struct DecodedExtreme {
    int figure;    // 1..13
    int rank;      // counted from 1 (0 for a lowest code ending in 50)
    bool highest;  // false: lowest
};

// The figure and rank of a code; nullopt when it names no extreme (a figure
// outside 1..13, or a rank part of 0).
std::optional<DecodedExtreme> DecodeExtreme(int code);

}  // namespace kolvio
