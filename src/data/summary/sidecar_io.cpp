#include "data/summary/sidecar_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "data/file.h"

namespace kolvio {

namespace {

// Past the largest record offset a dBase file can have (2^32 records of
// 65535 bytes), yet a valid off_t.
constexpr off_t kSummaryLockOffset = off_t{1} << 50;

bool LockByte(int fd, short type, int command) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = kSummaryLockOffset;
    fl.l_len = 1;
    while (::fcntl(fd, command, &fl) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

}  // namespace

std::string SidecarPath(const std::string& tablePath, const char* extension) {
    std::string base = BaseName(tablePath);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return ResolveInDirectory(ParentDirectory(tablePath), base + extension);
}

Status ReplaceSmallFile(const std::string& path, std::string_view bytes) {
    // A name of our own for each writer, so that two writers never share one.
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return SystemError("Nelze zapsat soubor", path, errno);
    ::fchmod(fd, 0644);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : ENOSPC;
            ::close(fd);
            ::unlink(temp.c_str());
            return SystemError("Nelze zapsat soubor", path, err);
        }
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return SystemError("Nelze zapsat soubor", path, err);
    }
    return Status::Ok();
}

TableFileHandle::~TableFileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

bool TableFileHandle::open(const std::string& path) {
    // Only regular files: a pipe or a device is never opened.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    return true;
}

bool TableFileHandle::lockSummaries() {
    return fd_ >= 0 && LockByte(fd_, F_WRLCK, F_OFD_SETLKW);
}

void TableFileHandle::unlockSummaries() {
    if (fd_ >= 0) LockByte(fd_, F_UNLCK, F_OFD_SETLK);
}

bool TableFileHandle::identity(FileIdentity* out) const {
    return fd_ >= 0 && IdentityOfDescriptor(fd_, out);
}

bool TableFileHandle::stampBeforeLastWrite() {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = st.st_mtim;
    if (times[1].tv_nsec > 0) {
        --times[1].tv_nsec;
    } else {
        --times[1].tv_sec;
        times[1].tv_nsec = 999'999'999;
    }
    return ::futimens(fd_, times) == 0;
}

bool TableFileHandle::readAt(uint64_t offset, size_t n, char* out) const {
    size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        done += static_cast<size_t>(r);
    }
    return true;
}

}  // namespace kolvio
