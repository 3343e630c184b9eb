// Each part of a sidecar's stamp changed alone: the summaries and the index
// contents must both be refused for every one of them.
#pragma once

#include "data/summary/summary_file.h"

namespace kolvio::testing {

struct StampChange {
    const char* what;
    void (*change)(SummaryStamp*);
};

inline constexpr StampChange kStampChanges[] = {
    {"device", [](SummaryStamp* s) { s->identity.device ^= 1; }},
    {"inode", [](SummaryStamp* s) { s->identity.inode ^= 1; }},
    {"size", [](SummaryStamp* s) { s->identity.size += 1; }},
    {"modification time", [](SummaryStamp* s) { s->identity.modifiedNs -= 1; }},
    {"change time", [](SummaryStamp* s) { s->identity.changedNs += 1; }},
    {"layout of the fields", [](SummaryStamp* s) { s->layout ^= 1; }},
};

}  // namespace kolvio::testing
