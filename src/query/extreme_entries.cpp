#include "query/extreme_entries.h"

namespace kolvio {

namespace {

constexpr RideFigure kFigures[] = {
    {"průměr", "JIZDY.PRUMER", "PRUMER"},
    {"délka jízdy", "JIZDY.DELKA", "DELKA"},
    {"max. rychlost", "JIZDY.RYCHL_MAX", "RYCHL_MAX"},
    {"čas jízdy", "JIZDY.CAS", "CAS"},
    {"tep průměr", "JIZDY.SR_AVG", "SR_AVG"},
    {"tep max", "JIZDY.SR_MAX", "SR_MAX"},
    {"energie kcal", "JIZDY.SR_KCAL", "SR_KCAL"},
    {"tep překr.proc", "JIZDY.SR_PLP", "SR_PLP"},
    {"tep překr.čas", "JIZDY.SR_PLC", "SR_PLC"},
    {"prům./věk.lim.tep[%]", "JIZDY.SR_AXP", "SR_AXP"},
    {"max./věk.lim.tep[%]", "JIZDY.SR_MXP", "SR_MXP"},
    {"max./lim.tep[%]", "JIZDY.SR_MLP", "SR_MLP"},
    {"prům./lim.tep[%]", "JIZDY.SR_ALP", "SR_ALP"},
};
constexpr int kRanks = 10;

}  // namespace

std::span<const RideFigure> RideFigures() {
    return kFigures;
}

std::vector<ExtremeEntry> ExtremeEntries() {
    std::vector<ExtremeEntry> entries;
    int f = 0;
    for (const RideFigure& figure : kFigures) {
        ++f;
        const std::string name(figure.name);
        for (int k = 1; k <= kRanks; ++k)
            entries.push_back({name + " " + std::to_string(k) + ". nejvyšší", f * 100 + k});
        for (int k = 1; k <= kRanks; ++k)
            entries.push_back({name + " " + std::to_string(k) + ". nejnižší", f * 100 + 50 + k});
    }
    return entries;
}

std::optional<DecodedExtreme> DecodeExtreme(int code) {
    const int f = code / 100;
    const int r = code % 100;
    if (code < 0 || r == 0 || f < 1 || f > static_cast<int>(std::size(kFigures)))
        return std::nullopt;
    if (r < 50) return DecodedExtreme{f, r, true};
    return DecodedExtreme{f, r - 50, false};
}

}  // namespace kolvio
