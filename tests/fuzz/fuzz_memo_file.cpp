// libFuzzer harness: any bytes as a memo file (.dbt), every block read as
// the first block of a memo, then two memos appended and read back.
//
// Input: one byte of flags (bit 0: the table says dBase III memos), then the
// memo file's bytes.
//
// Guarantees checked on every input:
//  - opening and reading either succeed or fail with a message naming the file;
//  - an appended memo reads back exactly as written;
//  - appending never overwrites a byte of the file that was there before
//    (other than the next-free pointer at its start), however damaged the
//    file's header is.
// The file size is capped for the process, so that a damaged pointer that
// sends a write far past the end shows as an error rather than filling the
// disk. Seeds: corpus/memo_file.
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "data/dbf/memo_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace kolvio;
using fuzz::Require;

constexpr rlim_t kMaxFileSize = 16u << 20;
constexpr size_t kNextFreePointer = 4;

void CapFileSize() {
    static const bool capped = [] {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the cap fails instead
        rlimit limit{kMaxFileSize, kMaxFileSize};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }();
    Require(capped, "the file size can be capped");
}

bool NamesFile(const Status& st, const std::string& path) {
    return st.message().find(path) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    CapFileSize();
    const bool dbase3 = (data[0] & 1) != 0;
    const std::string_view bytes = fuzz::AsText(data + 1, size - 1);
    const std::string path = fuzz::ScratchDir() + "/jizdy.dbt";
    fuzz::WriteWholeFile(path, bytes);

    std::unique_ptr<MemoFile> memo;
    const Status opened = MemoFile::Open(path, true, dbase3, &memo);
    if (!opened.ok()) {
        Require(NamesFile(opened, path), "an opening error names the memo file");
        return 0;
    }
    std::string text;
    // Every place a block of the smallest size could start.
    for (uint32_t block = 0; block <= bytes.size() / 64 + 1 && block < 1024; ++block) {
        const Status st = memo->read(block, &text);
        if (!st.ok()) Require(NamesFile(st, path), "a read error names the memo file");
    }

    const std::string first = "Okolo Ústí nad Labem\r\npřes Říp";
    const std::string second(700, '\xA6');  // a memo longer than a block
    uint32_t firstBlock = 0, secondBlock = 0;
    const Status wroteFirst = memo->write(first, &firstBlock);
    const Status wroteSecond = wroteFirst.ok() ? memo->write(second, &secondBlock) : wroteFirst;
    if (!wroteSecond.ok()) Require(NamesFile(wroteSecond, path), "a write error names the memo file");
    if (wroteFirst.ok()) {
        Require(memo->read(firstBlock, &text).ok() && text == first,
                "an appended memo reads back as written");
    }
    if (wroteSecond.ok()) {
        Require(memo->read(secondBlock, &text).ok() && text == second,
                "a second appended memo reads back as written");
        Require(memo->read(firstBlock, &text).ok() && text == first,
                "appending a memo leaves the one before it as it was");
    }
    memo.reset();
    const std::string after = fuzz::ReadFile(path, bytes.size());
    Require(after.size() == bytes.size(), "appending never shortens the memo file");
    Require(after.substr(std::min(kNextFreePointer, after.size())) ==
                bytes.substr(std::min(kNextFreePointer, bytes.size())),
            "appending never overwrites what the file held");
    return 0;
}
