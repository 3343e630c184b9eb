// A file system that fails one chosen call the way a disk can fail.
//
// It passes every call on to the real one and counts the calls of each kind
// that change the disk (writes, fsyncs, renames, removals) and the reads. Armed with a
// Fault, it fails the Nth call of that kind once: with EIO, with ENOSPC, or,
// for a write, by storing only part of the bytes and failing the write that
// goes on with ENOSPC, as a disk filling up does. A hard link counts as a
// rename. Every call after that one
// succeeds again, so what the code does to clean up is really done.
//
// The fsync of a directory (making a rename durable) is not counted: the
// file it concerns is already in place and synced.
#pragma once

#include <cerrno>
#include <map>
#include <optional>
#include <string>

#include "data/file_system.h"

namespace kolvio::testing {

enum class FsCall { kWrite, kSync, kRename, kRemove, kRead };
enum class FsError { kEio, kNoSpace, kShortWrite };

struct Fault {
    FsCall call;
    int nth;  // from 1
    FsError error;
};

inline const char* Describe(FsCall call) {
    switch (call) {
        case FsCall::kWrite:
            return "write";
        case FsCall::kSync:
            return "fsync";
        case FsCall::kRename:
            return "rename";
        case FsCall::kRemove:
            return "remove";
        case FsCall::kRead:
            return "read";
    }
    return "?";
}

inline std::string Describe(const Fault& f) {
    const char* error = f.error == FsError::kEio       ? "EIO"
                        : f.error == FsError::kNoSpace ? "ENOSPC"
                                                       : "short write";
    return std::string(error) + " at " + Describe(f.call) + " #" + std::to_string(f.nth);
}

class FaultFileSystem : public PosixFileSystem {
public:
    explicit FaultFileSystem(std::optional<Fault> fault = std::nullopt) : fault_(fault) {}

    // How many calls of the kind were made (the failed one included).
    int count(FsCall call) const {
        const auto it = counts_.find(call);
        return it == counts_.end() ? 0 : it->second;
    }
    bool fired() const { return fired_; }

    int open(const char* path, int flags, mode_t mode) override {
        const int fd = PosixFileSystem::open(path, flags, mode);
        if (fd >= 0 && (flags & O_DIRECTORY)) directories_[fd] = true;
        return fd;
    }
    int close(int fd) override {
        directories_.erase(fd);
        return PosixFileSystem::close(fd);
    }
    ssize_t pread(int fd, void* buf, size_t n, off_t offset) override {
        if (const auto error = hit(FsCall::kRead)) return fail(*error);
        return PosixFileSystem::pread(fd, buf, n, offset);
    }
    ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) override {
        if (shortWritePending_) {
            shortWritePending_ = false;
            errno = ENOSPC;
            return -1;
        }
        if (const auto error = hit(FsCall::kWrite)) {
            if (*error == FsError::kShortWrite && n > 1) {
                shortWritePending_ = true;
                return PosixFileSystem::pwrite(fd, buf, n / 2, offset);
            }
            return fail(*error);
        }
        return PosixFileSystem::pwrite(fd, buf, n, offset);
    }
    // What reaches the disk when is no concern of these tests, so an fsync
    // that does not fail returns at once: a sweep of faults stays fast.
    int fsync(int fd) override {
        if (directories_.count(fd)) return 0;
        if (const auto error = hit(FsCall::kSync)) return fail(*error);
        return 0;
    }
    int rename(const char* from, const char* to) override {
        if (const auto error = hit(FsCall::kRename)) return fail(*error);
        return PosixFileSystem::rename(from, to);
    }
    int link(const char* from, const char* to) override {
        if (const auto error = hit(FsCall::kRename)) return fail(*error);
        return PosixFileSystem::link(from, to);
    }
    int unlink(const char* path) override {
        if (const auto error = hit(FsCall::kRemove)) return fail(*error);
        return PosixFileSystem::unlink(path);
    }

private:
    std::optional<FsError> hit(FsCall call) {
        const int n = ++counts_[call];
        if (!fault_ || fired_ || fault_->call != call || fault_->nth != n) return std::nullopt;
        fired_ = true;
        return fault_->error;
    }
    static int fail(FsError error) {
        errno = error == FsError::kEio ? EIO : ENOSPC;
        return -1;
    }

    std::optional<Fault> fault_;
    std::map<FsCall, int> counts_;
    std::map<int, bool> directories_;
    bool fired_ = false;
    bool shortWritePending_ = false;
};

}  // namespace kolvio::testing
