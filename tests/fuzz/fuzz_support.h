// What the file-reading harnesses share: a scratch directory of their own
// (in memory under /dev/shm where there is one, so that an execution costs
// no disk work), whole-file reads and writes, and a check that stops the run
// with a message when a guarantee does not hold.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace kolvio::fuzz {

// Stops the run (a finding for the fuzzer, a failure for the corpus replay).
inline void Require(bool holds, const char* guarantee) {
    if (holds) return;
    std::fprintf(stderr, "guarantee broken: %s\n", guarantee);
    std::abort();
}

// A fresh directory for this process, removed when it ends.
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        namespace fs = std::filesystem;
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                            : fs::temp_directory_path();
        std::string tmpl = (base / "kolvio-fuzz-XXXXXX").string();
        Require(mkdtemp(tmpl.data()) != nullptr, "a scratch directory can be made");
        static const std::string made = tmpl;
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(made, ec);
        });
        return tmpl;
    }();
    return dir;
}

// Plain system calls: a stream's buffers would cost more than the harness.
inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Require(fd >= 0, "the scratch file can be created");
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    Require(written, "the scratch file can be written");
}

// At most `limit` bytes from the start of the file ("" when it is missing).
inline std::string ReadFile(const std::string& path, size_t limit = SIZE_MAX) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    char buf[4096];
    while (bytes.size() < limit) {
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - bytes.size()));
        if (n <= 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

inline std::string_view AsText(const unsigned char* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace kolvio::fuzz
