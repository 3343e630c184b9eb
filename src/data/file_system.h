// The operating-system calls beneath File and the whole-file helpers.
//
// Every byte the storage core reads or writes, every fsync, rename, removal,
// lock and stat goes through the current FileSystem. Normally that is the
// POSIX one; a test installs a double (ScopedFileSystem) that fails a chosen
// call the way a disk can fail, to prove what the core promises when it does:
// the original files unchanged, no temporary file left, an error naming the
// file. The calls keep the POSIX contract: -1 and errno on failure.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace kolvio {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual int close(int fd) = 0;
    virtual ssize_t pread(int fd, void* buf, size_t n, off_t offset) = 0;
    virtual ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) = 0;
    virtual int ftruncate(int fd, off_t size) = 0;
    virtual int fsync(int fd) = 0;
    virtual int rename(const char* from, const char* to) = 0;
    virtual int unlink(const char* path) = 0;
    virtual int link(const char* from, const char* to) = 0;
    // flock() on the whole file and an open-file-description range lock
    // (F_OFD_SETLK / F_OFD_SETLKW).
    virtual int flock(int fd, int operation) = 0;
    virtual int lockRange(int fd, int command, struct flock* range) = 0;
    virtual int fstat(int fd, struct stat* out) = 0;
    virtual int futimens(int fd, const struct timespec times[2]) = 0;
    virtual int stat(const char* path, struct stat* out) = 0;
    virtual int lstat(const char* path, struct stat* out) = 0;
    virtual int mkdir(const char* path, mode_t mode) = 0;
    virtual int rmdir(const char* path) = 0;
};

// The plain system calls.
class PosixFileSystem : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode) override;
    int close(int fd) override;
    ssize_t pread(int fd, void* buf, size_t n, off_t offset) override;
    ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) override;
    int ftruncate(int fd, off_t size) override;
    int fsync(int fd) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int link(const char* from, const char* to) override;
    int flock(int fd, int operation) override;
    int lockRange(int fd, int command, struct flock* range) override;
    int fstat(int fd, struct stat* out) override;
    int futimens(int fd, const struct timespec times[2]) override;
    int stat(const char* path, struct stat* out) override;
    int lstat(const char* path, struct stat* out) override;
    int mkdir(const char* path, mode_t mode) override;
    int rmdir(const char* path) override;
};

// The file system the core uses now.
FileSystem& Fs();

// Installs `fs` for the scope (tests only; not for use across threads that
// touch files at the same time).
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& fs);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

}  // namespace kolvio
