// The memo file (.dbt) that holds the blob and memo fields of a table.
//
// The file is a sequence of 512-byte blocks; block 0 is the header, whose
// first four bytes give the next free block (bytes 20..21: the block size).
// A record's memo field holds the number of the first block, as ten digits.
//
// We write dBase IV blocks: FF FF 08 00, the length including these eight
// bytes, then the data. dBase III files (version 0x83) end each memo with
// 1A 1A instead, and are read that way. A changed memo goes to new blocks;
// the old ones stay unused until the table is rewritten. Writers of every
// handle and process take the next free block from the file under a short
// lock, so two of them never share a block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/file.h"
#include "data/status.h"

namespace kolvio {

// Writes the header block of an empty memo file to `file`.
Status WriteEmptyMemoFile(File& file);

class MemoFile {
public:
    static Status Open(const std::string& path, bool writable, bool dbase3,
                       std::unique_ptr<MemoFile>* out);
    // Writes an empty memo file (replacing any file of that name).
    static Status Create(const std::string& path);
    // The memo file that belongs to the table file at `tablePath`.
    static std::string PathFor(const std::string& tablePath);

    const std::string& path() const { return path_; }
    // Reads the memo starting at `block`; a block outside the file is an error.
    Status read(uint32_t block, std::string* out) const;
    // Appends `data` in new blocks and returns the first block's number.
    Status write(std::string_view data, uint32_t* block);

private:
    MemoFile(std::string path, File file, bool dbase3)
        : path_(std::move(path)), file_(std::move(file)), dbase3_(dbase3) {}
    // Rereads the size and the next free block from the file.
    Status followFile();

    std::string path_;
    File file_;
    bool dbase3_;
    uint32_t blockSize_ = 512;
    uint32_t nextFree_ = 1;
    uint64_t size_ = 0;
};

}  // namespace kolvio
