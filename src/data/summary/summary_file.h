// The block summaries of a table (block_summaries.h) kept between processes
// in a sidecar file of our own beside the table: "jizdy.kzm" for
// "jizdy.dbf". No dBase tool reads it. The layout is in docs/file_formats.md.
//
// The file names the identity of the table file it describes and a
// fingerprint of the table's layout; it is used only when both match the
// table as it is now, so a table changed by another program, copied or
// restored is read again rather than misread. A file that is damaged
// (checksum), foreign (magic, version) or stale is ignored and replaced by
// the next writer. It is written to a unique temporary file and renamed over
// the old one, so a reader sees the old file or the new one whole. It is not
// forced to disk: after a crash it is either whole or fails its checksum.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "data/status.h"
#include "data/summary/block_summaries.h"

namespace kolvio {

struct DbfHeader;

std::string SummarySidecarPath(const std::string& tablePath);

// A hash of what decides where each field lies in a record: header and
// record length and each field's name, type, width, decimals and offset.
uint64_t LayoutFingerprint(const DbfHeader& header);

// What a sidecar holds besides the zones.
struct SummaryStamp {
    FileIdentity identity;
    uint64_t layout = 0;
};

// The summaries of the table file at `tablePath` when its sidecar describes
// exactly `expected` (identity and layout) and `zones` agree with
// `recordCount` and `fieldCount`; null otherwise.
std::shared_ptr<TableZones> ReadSummaries(const std::string& tablePath,
                                          const SummaryStamp& expected, uint32_t recordCount,
                                          size_t fieldCount);
// Replaces the sidecar atomically.
Status WriteSummaries(const std::string& tablePath, const SummaryStamp& stamp,
                      const TableZones& zones);

// The encoded form, for tests of damaged files.
std::string EncodeSummaries(const SummaryStamp& stamp, const TableZones& zones);

}  // namespace kolvio
