#include "lists/route_text.h"

#include <algorithm>
#include <map>

#include "app/text_case.h"
#include "data/codepage.h"
#include "data/index/collation.h"
#include "lists/stored_rows.h"

namespace kolvio {

int TextLength(std::string_view utf8) {
    int n = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        NextCodePoint(utf8, &pos);
        ++n;
    }
    return n;
}

int WaypointCount(std::string_view waypoints) {
    if (waypoints.empty()) return 0;
    const std::string_view head = waypoints.substr(0, waypoints.size() - 1);
    return 1 + static_cast<int>(std::count(head.begin(), head.end(), ';'));
}

std::string ReverseWaypoints(std::string_view waypoints) {
    const int k = WaypointCount(waypoints);
    if (k <= 1) return std::string(waypoints);
    // Waypoint i is the text between the (i-1)-th and the i-th ";"; the last
    // one runs to the end (a trailing ";" is dropped with it).
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (int i = 0; i < k; ++i) {
        const size_t end = waypoints.find(';', start);
        parts.push_back(waypoints.substr(start, end == std::string_view::npos ? end : end - start));
        start = end == std::string_view::npos ? waypoints.size() : end + 1;
    }
    std::string out;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (it != parts.rbegin()) out += ';';
        out += *it;
    }
    return out;
}

bool WaypointFits(std::string_view waypoints, std::string_view place) {
    return TextLength(waypoints) + TextLength(place) + 1 <= kWaypointsMaxLength;
}

std::string AppendWaypoint(std::string_view waypoints, std::string_view place) {
    if (waypoints.empty()) return std::string(place);
    std::string out(waypoints);
    out += ';';
    out += place;
    return out;
}

std::vector<std::string> SuggestionWords(std::string_view waypoints) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < waypoints.size()) {
        const size_t end = waypoints.find_first_of(",;", pos);
        std::string_view word =
            waypoints.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (TextLength(word) > 1 && word.front() == ' ') word.remove_prefix(1);
        if (!word.empty()) words.emplace_back(word);
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return words;
}

bool AddSuggestion(std::vector<std::string>& list, std::string_view text) {
    if (text.empty() || text == " ") return false;
    const std::string folded = FoldCase(text);
    for (const std::string& item : list) {
        if (FoldCase(item) == folded) return false;
    }
    list.emplace_back(text);
    return true;
}

void SortSuggestions(std::vector<std::string>& list) {
    std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
        return CompareCzech(FoldCase(a), FoldCase(b)) < 0;
    });
}

Status CollectRouteSuggestions(const Table& rides, const Table& routes, int maxRides,
                               RouteSuggestions* out) {
    struct Route {
        std::string start, finish, waypoints;
    };
    // The first stored row of each code, as a keyed search finds it.
    std::map<int64_t, Route> byCode;
    StoredRows routeRows(routes);
    KOLVIO_RETURN_IF_ERROR(routeRows.open());
    KOLVIO_RETURN_IF_ERROR(routeRows.forEach([&](const Dataset& row) {
        byCode.try_emplace(
            row.getInt("TRS_C"),
            Route{row.getString("TRS_START"), row.getString("TRS_CIL"), row.getString("TRS_MEZI")});
        return true;
    }));

    StoredRows rideRows(rides);
    KOLVIO_RETURN_IF_ERROR(rideRows.open());
    Table& walk = rideRows.table();
    // The rides in the shared table's order; an order the handle lacks (an
    // index being created right now) falls back to the physical order.
    if (!rides.indexName().empty() && walk.hasIndex(rides.indexName())) {
        KOLVIO_RETURN_IF_ERROR(walk.setIndexName(rides.indexName()));
    }
    KOLVIO_RETURN_IF_ERROR(walk.last());
    for (int i = 0; i < maxRides && !walk.isEmpty(); ++i) {
        const auto route = byCode.find(walk.getInt("TRS_C"));
        if (route != byCode.end()) {
            AddSuggestion(out->starts, route->second.start);
            AddSuggestion(out->finishes, route->second.finish);
            for (const std::string& word : SuggestionWords(route->second.waypoints))
                AddSuggestion(out->waypoints, word);
        }
        KOLVIO_RETURN_IF_ERROR(walk.prior());
        if (walk.bof()) break;  // the first ride has been read
    }
    SortSuggestions(out->starts);
    SortSuggestions(out->finishes);
    SortSuggestions(out->waypoints);
    return Status::Ok();
}

}  // namespace kolvio
