// The list of recently opened database directories: section "Predchozi",
// keys "1" (the current database) to "6", most recent first; a missing key
// reads as empty.
#pragma once

#include <string>
#include <string_view>

#include "app/settings_file.h"
#include "data/status.h"

namespace kolvio {

inline constexpr char kRecentDbSection[] = "Predchozi";
inline constexpr int kRecentDbCount = 6;

// The directory under key n.
std::string RecentDbRead(const SettingsFile& ini, int n);

// Puts `dir` under key 1. When the list already holds it (compared without
// regard to letter case; the last matching key counts) the entries above it
// move down one place over it; otherwise every entry moves down and the one
// under key n drops out. Adding an empty text changes nothing. One write.
Status RecentDbAdd(SettingsFile& ini, std::string_view dir, int n = kRecentDbCount);

// Removes the entry under key i: the entries under i+1..n move up one place
// and key n becomes empty. An n below 2 is taken as 2; an i outside 1..n
// changes nothing. One write.
Status RecentDbRemove(SettingsFile& ini, int i, int n = kRecentDbCount);

}  // namespace kolvio
