// Shortening of a database path for the main window's caption.
#pragma once

#include <string>
#include <string_view>

namespace kolvio {

// A path shorter than `max` characters is returned whole (a bare drive "C:"
// gets its "\"). A longer one keeps its root ("C:\" or "/"), then "..", then
// as many whole trailing folders as fit below `max` characters:
//   "C:\Data files\Training\Diary\Rides\DATA", 30 -> "C:\..\Diary\Rides\DATA"
//   "/home/rider/Training/Diary/Rides/DATA", 30   -> "/../Diary/Rides/DATA"
// When not even the last folder fits, the last max-4 characters follow "..".
// Both "\" and "/" separate folders. Lengths count characters, not bytes.
std::string ShortenPath(std::string_view path, int max);

}  // namespace kolvio
