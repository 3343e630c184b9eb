// Times of activity files: XML date-times and the rider's calendar day.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kolvio::activity {

// Seconds since 1970-01-01 UTC of an XML Schema date-time as TCX and GPX
// write it: "2023-06-09T22:30:00Z", with optional fractions of a second and
// an optional offset ("+02:00"); a time without a zone is taken as UTC, as
// both formats prescribe. Surrounding blanks are allowed. None for any
// other text, or a day or time that does not exist.
std::optional<double> ParseXmlTime(std::string_view text);

// Days since 1970-01-01 of a day of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day);

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// The calendar day on which a moment falls in the rider's time zone, the
// zone the computer is set to (TZ on Linux): a ride started at 22:30 UTC on
// a summer evening in Prague belongs to the next day there. All zero for a
// moment more than 30,000 years away.
CivilDate DateInLocalZone(double utcSeconds);

}  // namespace kolvio::activity
