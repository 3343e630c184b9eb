#include "data/file_system.h"

#include <sys/file.h>
#include <unistd.h>

#include <atomic>

namespace kolvio {

int PosixFileSystem::open(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
int PosixFileSystem::close(int fd) {
    return ::close(fd);
}
ssize_t PosixFileSystem::pread(int fd, void* buf, size_t n, off_t offset) {
    return ::pread(fd, buf, n, offset);
}
ssize_t PosixFileSystem::pwrite(int fd, const void* buf, size_t n, off_t offset) {
    return ::pwrite(fd, buf, n, offset);
}
int PosixFileSystem::ftruncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}
int PosixFileSystem::fsync(int fd) {
    return ::fsync(fd);
}
int PosixFileSystem::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int PosixFileSystem::unlink(const char* path) {
    return ::unlink(path);
}
int PosixFileSystem::link(const char* from, const char* to) {
    return ::link(from, to);
}
int PosixFileSystem::flock(int fd, int operation) {
    return ::flock(fd, operation);
}
int PosixFileSystem::lockRange(int fd, int command, struct flock* range) {
    return ::fcntl(fd, command, range);
}
int PosixFileSystem::fstat(int fd, struct stat* out) {
    return ::fstat(fd, out);
}
int PosixFileSystem::futimens(int fd, const struct timespec times[2]) {
    return ::futimens(fd, times);
}
int PosixFileSystem::stat(const char* path, struct stat* out) {
    return ::stat(path, out);
}
int PosixFileSystem::lstat(const char* path, struct stat* out) {
    return ::lstat(path, out);
}
int PosixFileSystem::mkdir(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}
int PosixFileSystem::rmdir(const char* path) {
    return ::rmdir(path);
}

namespace {

PosixFileSystem& Posix() {
    static PosixFileSystem posix;
    return posix;
}

std::atomic<FileSystem*> current{nullptr};

}  // namespace

FileSystem& Fs() {
    FileSystem* fs = current.load(std::memory_order_acquire);
    return fs ? *fs : Posix();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fs)
    : previous_(current.exchange(&fs, std::memory_order_acq_rel)) {}

ScopedFileSystem::~ScopedFileSystem() {
    current.store(previous_, std::memory_order_release);
}

}  // namespace kolvio
