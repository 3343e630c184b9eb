// A sidecar's stamp for a table as it is now, and each part of it changed
// alone: the summaries and the index contents must both be refused for every
// one of them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/dbf/dbf_file.h"
#include "data/summary/summary_file.h"

namespace kolvio::testing {

inline SummaryStamp StampNow(const std::string& path) {
    std::unique_ptr<DbfFile> f;
    EXPECT_TRUE(DbfFile::Open(path, false, LockMode::kNone, &f).ok());
    SummaryStamp stamp;
    EXPECT_TRUE(CurrentFileIdentity(path, &stamp.identity));
    stamp.layout = LayoutFingerprint(f->header());
    return stamp;
}

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
