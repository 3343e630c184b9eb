// The few file operations the sidecar files need beyond file.h, made through
// the file system of file_system.h like every other: a small file
// replaced atomically under a name of its own per writer, and a second
// descriptor on a table file for the summary lock, the file's identity and
// the modification-time stamp (summary_upkeep.h explains why).
#pragma once

#include <string>
#include <string_view>

#include "data/status.h"
#include "data/summary/block_summaries.h"

namespace kolvio {

// The sidecar of the table file at `tablePath` with the given extension
// (".kzm" beside "jizdy.dbf" gives "jizdy.kzm", in the letter case found).
std::string SidecarPath(const std::string& tablePath, const char* extension);

// Writes `bytes` to a unique temporary file beside `path` and renames it
// over `path`. Not forced to disk: the sidecars carry their own checksums.
Status ReplaceSmallFile(const std::string& path, std::string_view bytes);

class TableFileHandle {
public:
    TableFileHandle() = default;
    ~TableFileHandle();
    TableFileHandle(const TableFileHandle&) = delete;
    TableFileHandle& operator=(const TableFileHandle&) = delete;

    // Opens the file for writing; false when that is not possible.
    bool open(const std::string& path);
    bool isOpen() const { return fd_ >= 0; }

    // An exclusive lock of one byte far beyond any record, so that it never
    // meets the locks of the records and the header; it orders the upkeep
    // of the summaries between every writer of this program.
    bool lockSummaries();
    void unlockSummaries();

    bool identity(FileIdentity* out) const;
    // Sets the modification time one nanosecond before the time the last
    // write gave it; false when the file system does not allow it.
    bool stampBeforeLastWrite();
    // Reads `n` bytes at `offset`; false on a short read or an error.
    bool readAt(uint64_t offset, size_t n, char* out) const;

private:
    int fd_ = -1;
};

}  // namespace kolvio
