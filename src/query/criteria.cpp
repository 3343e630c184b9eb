#include "query/criteria.h"

#include <algorithm>

namespace kolvio {

namespace {

std::string Not(bool negate) {
    return negate ? "NOT " : "";
}

std::string DateText(const Date& d) {
    return std::to_string(d.day()) + "." + std::to_string(d.month()) + "." +
           std::to_string(d.year());
}

template <size_t N>
bool Offered(const std::array<std::string_view, N>& operators, std::string_view op) {
    return std::find(operators.begin(), operators.end(), op) != operators.end();
}

// ` <field> <op> "<number>" `, or empty when the limit is not valid.
std::string Comparison(std::string_view field, const LimitInput& limit) {
    return " " + std::string(field) + " " + limit.op + " \"" + limit.number + "\" ";
}

bool ValidLimit(const LimitInput& limit, bool lower) {
    const bool op = lower ? Offered(kLowerOperators, limit.op) : Offered(kUpperOperators, limit.op);
    return op && IsWholeNumberText(limit.number);
}

void AndAppend(std::string* fragment, const std::string& part) {
    if (!fragment->empty()) *fragment += " AND ";
    *fragment += part;
}

}  // namespace

bool IsWholeNumberText(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty() || text.size() > 9) return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string CodeList(const std::vector<int64_t>& codes) {
    std::string list;
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i) list += ',';
        list += '"' + std::to_string(codes[i]) + '"';
    }
    return list;
}

std::string CurrentYearFragment(int year, bool negate) {
    const std::string y = std::to_string(year);
    return " ( jizdy.datum " + Not(negate) + "BETWEEN \"1.1." + y + "\" AND \"31.12." + y + "\" ) ";
}

std::string UsedYearsFragment(const std::vector<int>& tickedYears, bool negate) {
    std::string fragment;
    for (int year : tickedYears) {
        if (!fragment.empty()) fragment += negate ? "AND " : "OR ";
        fragment += CurrentYearFragment(year, negate);
    }
    return fragment.empty() ? fragment : " ( " + fragment + " ) ";
}

std::string DateRangeFragment(const Date& from, const Date& to, bool negate) {
    return "( jizdy.datum " + Not(negate) + "BETWEEN \"" + DateText(from) + "\" AND \"" +
           DateText(to) + "\" ) ";
}

std::string CodesFragment(std::string_view field, const std::vector<int64_t>& codes, bool negate) {
    if (codes.empty()) return {};
    return " ( " + std::string(field) + " " + Not(negate) + "IN (" + CodeList(codes) + " )) ";
}

std::string SingleRouteFragment(int64_t routeCode, RouteDirection direction) {
    const std::string route = " jizdy.trs_c = \"" + std::to_string(routeCode) + "\" ";
    switch (direction) {
        case RouteDirection::kBoth:
            return route;
        case RouteDirection::kShown:
            return " (" + route + " AND jizdy.trs_smer = \"1\" ) ";
        case RouteDirection::kReverse:
            return " (" + route + " AND jizdy.trs_smer = \"2\" ) ";
    }
    return route;
}

std::string PersonsFragment(const PersonsInput& input) {
    std::string parts;
    if (input.lower.on) {
        if (!ValidLimit(input.lower, true)) return {};
        AndAppend(&parts, Comparison("jizdy.osob", input.lower));
    }
    if (input.upper.on) {
        if (!ValidLimit(input.upper, false)) return {};
        AndAppend(&parts, Comparison("jizdy.osob", input.upper));
    }
    if (input.equal.on) {
        if (!IsWholeNumberText(input.equal.number)) return {};
        AndAppend(&parts, Comparison("jizdy.osob", {true, "=", input.equal.number}));
    }
    return parts.empty() ? parts : " ( " + parts + " ) ";
}

std::string_view HeartLimitField(int row) {
    static constexpr std::string_view kFields[] = {"jizdy.sr_lim", "jizdy.sr_max", "jizdy.sr_plp"};
    return row >= 0 && row < 3 ? kFields[row] : std::string_view();
}

std::string HeartFragment(const HeartInput& input) {
    std::string fragment;
    if (!input.watchTypes.empty())
        fragment = " ( jizdy.thl_c IN (" + CodeList(input.watchTypes) + " )) ";
    for (size_t i = 0; i < input.limits.size(); ++i) {
        const LimitInput& limit = input.limits[i];
        if (!limit.on) continue;
        const bool lower = i % 2 == 0;
        if (!ValidLimit(limit, lower)) return {};
        AndAppend(&fragment,
                  " (" + Comparison(HeartLimitField(static_cast<int>(i / 2)), limit) + ") ");
    }
    if (fragment.empty() || !input.negate) return fragment;
    return " ( NOT ( " + fragment + ")) ";
}

}  // namespace kolvio
