// The text rules of routes: the waypoint string ("A;B;C", at most 80
// characters) and the place-name suggestions the new-route screen collects
// from the latest rides.
//
// Lengths count characters (code points), not bytes: the table stores one
// byte per character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/status.h"
#include "data/table.h"

namespace kolvio {

inline constexpr int kWaypointsMaxLength = 80;

// Number of characters of UTF-8 text.
int TextLength(std::string_view utf8);

// Number of waypoints: 0 for an empty text, else 1 + the number of ";"
// before the last character (a trailing ";" ends the last waypoint).
int WaypointCount(std::string_view waypoints);

// The waypoints in reverse order joined by ";": "A;B;C" gives "C;B;A",
// "A;B;" gives "B;A". A text of fewer than two waypoints comes back as it is.
std::string ReverseWaypoints(std::string_view waypoints);

// Whether `place` may be added to `waypoints` ("Přidej"): the text, the place
// and one separator must fit in 80 characters. The separator counts also
// when the waypoints are empty.
bool WaypointFits(std::string_view waypoints, std::string_view place);
// `waypoints` + ";" + `place`, or `place` alone when there are no waypoints.
std::string AppendWaypoint(std::string_view waypoints, std::string_view place);

// The place names of a waypoint text as suggestions: split at "," and ";"
// (a run of separators counts as one, empty words are skipped); a word of
// two or more characters that begins with a blank loses that one blank.
std::vector<std::string> SuggestionWords(std::string_view waypoints);

// Adds `text` to `list` unless it is empty, a single blank, or already there
// (letter case not counting). True when added.
bool AddSuggestion(std::vector<std::string>& list, std::string_view text);
// Sorts ascending by the lower-cased text in Czech alphabetical order.
void SortSuggestions(std::vector<std::string>& list);

struct RouteSuggestions {
    std::vector<std::string> starts;
    std::vector<std::string> finishes;
    std::vector<std::string> waypoints;
};

// Nacti50Poslednich: walks back from the last ride (in the rides table's
// current ordering) over at most `maxRides` rides and adds the start,
// finish and waypoint names of each ride's route to the lists of `out`,
// which may hold preset names already (AddSuggestion), then sorts the three
// lists. Rides whose route is missing are skipped. Both
// tables are read through handles of their own: the shared datasets are not
// moved, and a ride being entered stays pending.
Status CollectRouteSuggestions(const Table& rides, const Table& routes, int maxRides,
                               RouteSuggestions* out);

}  // namespace kolvio
