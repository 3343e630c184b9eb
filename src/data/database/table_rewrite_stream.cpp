#include "data/database/table_rewrite_stream.h"

#include <algorithm>

#include "data/file.h"

namespace kolvio {

Status ReadHeaderBytes(const DbfFile& table, std::string* out) {
    File file;
    KOLVIO_RETURN_IF_ERROR(File::Open(table.path(), false, &file));
    out->assign(table.header().headerLength, '\0');
    return file.readAt(0, out->size(), out->data());
}

Status WriteTableCopy(const DbfFile& source, const std::string& headerBytes, File& out,
                      const std::function<void(char* records, uint32_t count)>& transform) {
    KOLVIO_RETURN_IF_ERROR(out.writeAt(0, headerBytes));
    const uint32_t length = source.recordLength();
    const uint32_t count = source.recordCount();
    const uint32_t batch = std::max<uint32_t>(1, (1u << 20) / length);
    std::string buffer(static_cast<size_t>(std::min(batch, std::max<uint32_t>(count, 1))) * length,
                       '\0');
    uint64_t offset = headerBytes.size();
    for (uint32_t first = 0; first < count; first += batch) {
        const uint32_t n = std::min(batch, count - first);
        KOLVIO_RETURN_IF_ERROR(source.readRecords(first, n, buffer.data()));
        if (transform) transform(buffer.data(), n);
        const size_t bytes = static_cast<size_t>(n) * length;
        KOLVIO_RETURN_IF_ERROR(out.writeAt(offset, std::string_view(buffer.data(), bytes)));
        offset += bytes;
    }
    return out.writeAt(offset, "\x1A");
}

}  // namespace kolvio
