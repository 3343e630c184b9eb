// Converting the text of an older table from Windows-1250 to code page 852.
#pragma once

#include <string>
#include <string_view>

#include "data/status.h"

namespace kolvio {

// Converts Windows-1250 bytes to code page 852, byte by byte. Bytes below 128
// are kept. Of the upper half only the 53 characters of the Kamenický Czech
// code page that Windows-1250 also has are converted (đ, ±, · and • to the
// substitutes d, -, 0xF9 and 0xFA); every other byte is kept as it is.
std::string ConvertText(std::string_view windows1250);

// Converts the table `fileName` in `dir` to code page 852 unless its
// language byte (offset 29) already says 0x1F, in which case nothing is
// touched. The converted table (every text column of every row, language
// byte 0x1F) is written beside the old one and replaces it atomically, so a
// crash at any moment leaves either the old table, which the next opening
// converts, or the converted one, which it leaves alone: each table is
// converted exactly once. Memo and blob contents are binary and stay as they
// are. The table's index definitions are dropped first (opening the database
// recreates the maintained ones). Needs exclusive access to the table.
// `*converted` tells whether the table was converted.
Status ConvertTableCodepage(const std::string& dir, const std::string& fileName,
                            bool* converted = nullptr);

}  // namespace kolvio
