// CSV output of values (RFC 4180 quoting, UTF-8).
#pragma once

#include <string>

#include "data/value.h"

namespace kolvio::cli {

// Numbers in their shortest exact form (never "-0"), dates as yyyy-mm-dd,
// logicals as T/F, null as an empty cell; text quoted when it holds a comma,
// a quote or a control character, whatever bytes it holds.
std::string CsvCell(const Value& value);
std::string CsvQuote(const std::string& text);

}  // namespace kolvio::cli
