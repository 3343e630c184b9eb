#include "data/dbf/memo_file.h"

#include <algorithm>

namespace kolvio {

namespace {

constexpr uint32_t kDefaultBlockSize = 512;
constexpr uint64_t kMaxMemo = 64ull << 20;  // refuse to read absurd lengths

uint32_t Get32(const char* b) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[0])) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[3])) << 24);
}

std::string Le32(uint32_t v) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

std::string Damaged(const std::string& path) {
    return "Soubor poznámek \"" + path + "\" je poškozený. Obnovte jej ze zálohy.";
}

}  // namespace

std::string MemoFile::PathFor(const std::string& tablePath) {
    const std::string dir = ParentDirectory(tablePath);
    std::string base = BaseName(tablePath);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return ResolveInDirectory(dir, base + ".dbt");
}

Status WriteEmptyMemoFile(File& file) {
    std::string header(kDefaultBlockSize, '\0');
    header.replace(0, 4, Le32(1));
    header[20] = static_cast<char>(kDefaultBlockSize & 0xFF);
    header[21] = static_cast<char>(kDefaultBlockSize >> 8);
    return file.writeAt(0, header);
}

Status MemoFile::Create(const std::string& path) {
    FileRewrite rewrite;
    KOLVIO_RETURN_IF_ERROR(rewrite.begin(path));
    KOLVIO_RETURN_IF_ERROR(WriteEmptyMemoFile(rewrite.file()));
    return rewrite.commit();
}

Status MemoFile::Open(const std::string& path, bool writable, bool dbase3,
                      std::unique_ptr<MemoFile>* out) {
    File file;
    Status st = File::Open(path, writable, &file);
    if (st.code() == Status::Code::kNotFound) {
        return Status::NotFound("Chybí soubor poznámek \"" + path + "\" k tabulce.");
    }
    KOLVIO_RETURN_IF_ERROR(st);
    std::unique_ptr<MemoFile> memo(new MemoFile(path, std::move(file), dbase3));
    KOLVIO_RETURN_IF_ERROR(memo->file_.size(&memo->size_));
    if (memo->size_ >= 24) {
        char head[24];
        KOLVIO_RETURN_IF_ERROR(memo->file_.readAt(0, sizeof head, head));
        const uint32_t declared = static_cast<uint8_t>(head[20]) |
                                  (static_cast<uint32_t>(static_cast<uint8_t>(head[21])) << 8);
        if (!dbase3 && declared >= 64 && declared % 64 == 0) memo->blockSize_ = declared;
    }
    KOLVIO_RETURN_IF_ERROR(memo->followFile());
    *out = std::move(memo);
    return Status::Ok();
}

Status MemoFile::read(uint32_t block, std::string* out) const {
    out->clear();
    const uint64_t at = static_cast<uint64_t>(block) * blockSize_;
    uint64_t size = size_;
    // A memo written by another handle lies past the end this one knows.
    if (at >= size) KOLVIO_RETURN_IF_ERROR(file_.size(&size));
    if (block == 0 || at >= size) return Status::Corrupt(Damaged(path_));
    const uint64_t available = size - at;
    char head[8] = {};
    const bool hasHead = available >= 8;
    if (hasHead) KOLVIO_RETURN_IF_ERROR(file_.readAt(at, 8, head));
    if (!dbase3_ && hasHead && static_cast<uint8_t>(head[0]) == 0xFF &&
        static_cast<uint8_t>(head[1]) == 0xFF && head[2] == 0x08 && head[3] == 0x00) {
        const uint32_t length = Get32(head + 4);
        if (length < 8 || length - 8 > kMaxMemo) return Status::Corrupt(Damaged(path_));
        const uint64_t n = std::min<uint64_t>(length - 8, available - 8);
        out->resize(n);
        return file_.readAt(at + 8, n, out->data());
    }
    // dBase III style: text up to the 1A terminator.
    const uint64_t n = std::min<uint64_t>(available, kMaxMemo);
    std::string data(n, '\0');
    KOLVIO_RETURN_IF_ERROR(file_.readAt(at, n, data.data()));
    const auto end = data.find('\x1A');
    if (end != std::string::npos) data.resize(end);
    *out = std::move(data);
    return Status::Ok();
}

Status MemoFile::write(std::string_view data, uint32_t* block) {
    if (data.size() > kMaxMemo) return Status::Invalid("Poznámka je příliš dlouhá.");
    std::string bytes;
    if (dbase3_) {
        bytes.assign(data);
        bytes += "\x1A\x1A";
    } else {
        bytes = "\xFF\xFF\x08";
        bytes.push_back('\0');
        bytes += Le32(static_cast<uint32_t>(data.size() + 8));
        bytes.append(data);
    }
    const uint64_t blocks = (bytes.size() + blockSize_ - 1) / blockSize_;
    bytes.resize(blocks * blockSize_, '\0');
    // Another handle may have written memos since: the next free block is
    // read from the file under the lock that every writer takes.
    RangeLock lock(file_, 0, 4);
    KOLVIO_RETURN_IF_ERROR(lock.acquire());
    KOLVIO_RETURN_IF_ERROR(followFile());
    const uint64_t end = static_cast<uint64_t>(nextFree_) + blocks;
    if (end > UINT32_MAX) return Status::Invalid("Soubor poznámek \"" + path_ + "\" je plný.");
    const uint32_t first = nextFree_;
    KOLVIO_RETURN_IF_ERROR(file_.writeAt(static_cast<uint64_t>(first) * blockSize_, bytes));
    nextFree_ = static_cast<uint32_t>(end);
    size_ = std::max<uint64_t>(size_, static_cast<uint64_t>(nextFree_) * blockSize_);
    KOLVIO_RETURN_IF_ERROR(file_.writeAt(0, Le32(nextFree_)));
    *block = first;
    return Status::Ok();
}

Status MemoFile::followFile() {
    KOLVIO_RETURN_IF_ERROR(file_.size(&size_));
    uint32_t declared = 0;
    if (size_ >= 4) {
        char head[4];
        KOLVIO_RETURN_IF_ERROR(file_.readAt(0, sizeof head, head));
        declared = Get32(head);
    }
    // Never hand out a block that lies inside the existing file.
    const uint64_t usedBlocks = (size_ + blockSize_ - 1) / blockSize_;
    nextFree_ = static_cast<uint32_t>(
        std::min<uint64_t>(std::max<uint64_t>({declared, usedBlocks, 1}), UINT32_MAX));
    return Status::Ok();
}

}  // namespace kolvio
