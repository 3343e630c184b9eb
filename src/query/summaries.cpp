#include "query/summaries.h"

#include <algorithm>

namespace kolvio {

namespace {

bool IsPlainName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

}  // namespace

std::string SummaryStatement(SummaryKind kind, std::string_view field, std::string_view tableFile) {
    if (!IsPlainName(field)) return {};
    const char* function = "SUM";
    switch (kind) {
        case SummaryKind::kSum:
            break;
        case SummaryKind::kAverage:
            function = "AVG";
            break;
        case SummaryKind::kMaximum:
            function = "MAX";
            break;
        case SummaryKind::kMinimum:
            function = "MIN";
            break;
    }
    return "select " + std::string(function) + " (" + std::string(field) + ") AS " + kSummaryField +
           " from " + std::string(tableFile);
}

std::string SummaryCaption(SummaryKind kind, std::string_view title) {
    const char* word = "Součet-";
    switch (kind) {
        case SummaryKind::kSum:
            break;
        case SummaryKind::kAverage:
            word = "Průměr-";
            break;
        case SummaryKind::kMaximum:
            word = "Maximum-";
            break;
        case SummaryKind::kMinimum:
            word = "Minimum-";
            break;
    }
    return word + std::string(title) + ":";
}

}  // namespace kolvio
