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

    // Opens an existing regular file. Anything else (a directory, a pipe, a
    // device) is refused without waiting for it.
    static Status Open(const std::string& path, bool writable, File* out);
    // Creates or truncates.
    static Status CreateNew(const std::string& path, File* out);
    // Creates `path` afresh for a whole-file rewrite: a stray file of that
    // name is removed first, and a symbolic link there is never followed.
    static Status CreateTemp(const std::string& path, File* out);

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
    // A short exclusive lock of a byte range, for read-modify-write of a
    // counter in the file. Waits for the holder; excludes every other open
    // of the file, in this process or another. Independent of lock().
    Status lockRange(uint64_t offset, uint64_t length);
    void unlockRange(uint64_t offset, uint64_t length);
    // True when `path` still names this open file (it was not replaced).
    bool isAt(const std::string& path) const;
    void close();

private:
    int fd_ = -1;
    std::string path_;
};

// Holds lockRange() for a scope.
class RangeLock {
public:
    RangeLock(File& file, uint64_t offset, uint64_t length)
        : file_(file), offset_(offset), length_(length) {}
    Status acquire() {
        const Status st = file_.lockRange(offset_, length_);
        held_ = st.ok();
        return st;
    }
    ~RangeLock() {
        if (held_) file_.unlockRange(offset_, length_);
    }
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;

private:
    File& file_;
    uint64_t offset_, length_;
    bool held_ = false;
};

// What went wrong, in Czech, for an errno value ("na disku není volné místo").
std::string SystemErrorText(int err);
// A failed system call on `path` as a Status: kNoSpace for a full disk or
// quota, kIoError otherwise. `what` says what was being done.
Status SystemError(const std::string& what, const std::string& path, int err);

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
// Gives the file at `from` a second name `to` (a hard link).
Status LinkFile(const std::string& from, const std::string& to);
// Renames `from` to `to`, replacing `to` (without making it durable).
Status RenameFile(const std::string& from, const std::string& to);
// The names of the entries of `dir` ("." and ".." left out), in no order.
Status ListDirectory(const std::string& dir, std::vector<std::string>* names);
// Removes an empty directory; one that does not exist is fine.
Status RemoveDirectory(const std::string& path);

// False for a file nobody may write (no write permission bit) or that this
// user may not write. A missing file counts as writable.
bool IsWritableFile(const std::string& path);
// The file that `path` finally names when it is a symbolic link (or a chain
// of them); `path` itself otherwise. A whole-file rewrite replaces that file,
// so that the link keeps pointing at the current data.
std::string RewriteTarget(const std::string& path);
// Makes `tmpPath` durable and renames it over `finalPath`, so that a crash at
// any moment leaves either the old file or the new one whole. An existing
// `finalPath` passes its mode and owner on to the new file.
Status ReplaceFileAtomically(const std::string& tmpPath, const std::string& finalPath);
// The temporary name used for whole-file rewrites of `path`.
std::string RewriteTempPath(const std::string& path);

// A whole-file rewrite of an existing or new file. Begin() refuses a file
// the user may not write, follows symbolic links to the file they name and
// creates the temporary file beside that file; the new content is written
// to file(); commit() puts it in place atomically with the old file's mode
// and owner. Destroyed without a successful commit(), it removes the
// temporary file, so a failure (a full disk, say) leaves only the old file.
class FileRewrite {
public:
    FileRewrite() = default;
    ~FileRewrite();
    FileRewrite(const FileRewrite&) = delete;
    FileRewrite& operator=(const FileRewrite&) = delete;

    // `tempPath`, when not empty, names the temporary file instead of the
    // usual name beside the target (a staging copy others open by name).
    Status begin(const std::string& path, const std::string& tempPath = {});
    File& file() { return file_; }
    // The file that commit() replaces and the temporary file beside it.
    const std::string& target() const { return target_; }
    const std::string& tempPath() const { return temp_; }
    Status commit();
    // Removes the temporary file now (also done by the destructor).
    void abandon();

private:
    std::string target_;
    std::string temp_;
    File file_;
    bool pending_ = false;
};

}  // namespace kolvio
