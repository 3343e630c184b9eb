// The one place the storage code touches the operating system's files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/status.h"

namespace kolvio {

enum class LockMode { kNone, kShared, kExclusive };

// An open file with positioned reads and writes. Move-only; closes itself.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    static Status Open(const std::string& path, bool writable, File* out);
    // Creates or truncates.
    static Status CreateNew(const std::string& path, File* out);

    bool isOpen() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }
    Status size(uint64_t* out) const;
    // Reads exactly n bytes at offset; reading past the end is an error.
    Status readAt(uint64_t offset, size_t n, char* out) const;
    Status writeAt(uint64_t offset, std::string_view bytes);
    Status truncate(uint64_t size);
    Status sync();
    // Advisory lock on the whole file, shared by all handles of all processes
    // on this machine. Never waits: a conflicting lock fails with kLocked.
    Status lock(LockMode mode);
    void close();

private:
    int fd_ = -1;
    std::string path_;
};

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates the directory and any missing parents.
Status MakeDirectories(const std::string& path);
std::string JoinPath(const std::string& dir, const std::string& name);
std::string ParentDirectory(const std::string& path);
std::string BaseName(const std::string& path);
// dBase file names are not case-sensitive: returns the path of the entry in
// `dir` whose name equals `name` ignoring ASCII case (the exact name first),
// or dir/name when there is none.
std::string ResolveInDirectory(const std::string& dir, const std::string& name);
Status RemoveFile(const std::string& path);
// The names of the entries of `dir` ("." and ".." left out), in no order.
Status ListDirectory(const std::string& dir, std::vector<std::string>* names);
// Removes an empty directory; one that does not exist is fine.
Status RemoveDirectory(const std::string& path);
// Makes `tmpPath` durable and renames it over `finalPath`, so that a crash at
// any moment leaves either the old file or the new one whole.
Status ReplaceFileAtomically(const std::string& tmpPath, const std::string& finalPath);
// The temporary name used for whole-file rewrites of `path`.
std::string RewriteTempPath(const std::string& path);

}  // namespace kolvio
