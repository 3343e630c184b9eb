// A small file system of its own for a test: a size-limited tmpfs mounted
// in a private mount namespace, to see what happens when the disk is full.
//
// Needs the right to mount: the superuser, or an unprivileged user
// namespace. Where neither is available, ok() is false and the test skips
// itself. The mount lives in this process's own namespace, so nothing is
// left mounted whatever happens to the test.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/data/temp_dir.h"

namespace kolvio::testing {

class ScopedTmpfs {
public:
    explicit ScopedTmpfs(size_t bytes) {
        if (!EnterPrivateMounts()) return;
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~ScopedTmpfs() {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    bool ok() const { return mounted_; }
    const std::string& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    static bool WriteFile(const char* path, const std::string& text) {
        const int fd = ::open(path, O_WRONLY);
        if (fd < 0) return false;
        const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::close(fd);
        return ok;
    }

    static bool EnterPrivateMounts() {
        static const bool entered = [] {
            if (::unshare(CLONE_NEWNS) != 0) {
                const uid_t uid = ::getuid();
                const gid_t gid = ::getgid();
                if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
                WriteFile("/proc/self/setgroups", "deny");
                if (!WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                    !WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
                    return false;
                }
            }
            return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        }();
        return entered;
    }

    TempDir dir_;
    bool mounted_ = false;
};

// Writes a file of `bytes` zero bytes, to take up space.
inline bool FillFile(const std::string& path, size_t bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::string block(4096, '\0');
    size_t left = bytes;
    bool ok = true;
    while (ok && left > 0) {
        const size_t n = left < block.size() ? left : block.size();
        ok = std::fwrite(block.data(), 1, n, f) == n;
        left -= n;
    }
    return std::fclose(f) == 0 && ok;
}

}  // namespace kolvio::testing
