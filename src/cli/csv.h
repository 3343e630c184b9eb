// CSV output of values (RFC 4180 quoting, UTF-8).
#pragma once

#include <string>

#include "data/value.h"

namespace kolvio::cli {

// Numbers in their shortest exact form, dates as yyyy-mm-dd, logicals as
// T/F, null as an empty cell; text quoted when it needs to be.
std::string CsvCell(const Value& value);
std::string CsvQuote(const std::string& text);

}  // namespace kolvio::cli
