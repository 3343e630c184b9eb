#include "data/summary/sidecar_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "data/file.h"
#include "data/file_system.h"

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
    while (Fs().lockRange(fd, command, &fl) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// A temporary name beside `path` that no other writer uses at the same
// time: the process id tells processes apart, the counter this process's
// writers (a stray file of the name is one a dead process left).
std::string UniqueTempPath(const std::string& path) {
    static std::atomic<uint64_t> counter{0};
    return path + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
}

}  // namespace

std::string SidecarPath(const std::string& tablePath, const char* extension) {
    std::string base = BaseName(tablePath);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return ResolveInDirectory(ParentDirectory(tablePath), base + extension);
}

Status ReplaceSmallFile(const std::string& path, std::string_view bytes) {
    const std::string temp = UniqueTempPath(path);
    File file;
    Status st = File::CreateTemp(temp, &file);
    if (st.ok()) st = file.writeAt(0, bytes);
    file.close();
    if (st.ok()) st = RenameFile(temp, path);
    // The message names the temporary file, which bears the sidecar's name.
    if (st.failed()) (void)Fs().unlink(temp.c_str());
    return st;
}

TableFileHandle::~TableFileHandle() {
    if (fd_ >= 0) Fs().close(fd_);
}

bool TableFileHandle::open(const std::string& path) {
    // Only regular files: a pipe or a device is never opened.
    const int fd = Fs().open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) return false;
    struct stat st {};
    if (Fs().fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Fs().close(fd);
        return false;
    }
    if (fd_ >= 0) Fs().close(fd_);
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
    if (fd_ < 0 || Fs().fstat(fd_, &st) != 0) return false;
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
    return Fs().futimens(fd_, times) == 0;
}

bool TableFileHandle::readAt(uint64_t offset, size_t n, char* out) const {
    size_t done = 0;
    while (done < n) {
        const ssize_t r = Fs().pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        done += static_cast<size_t>(r);
    }
    return true;
}

}  // namespace kolvio
