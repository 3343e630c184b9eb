#include "data/index/index_data.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "data/summary/sidecar_codec.h"
#include "data/summary/sidecar_io.h"

namespace kolvio {

namespace {

constexpr char kMagic[8] = {'K', 'O', 'L', 'V', 'I', 'O', 'I', 'X'};
// Also names the collation of text keys: a new collation is a new version.
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderBytes = 96;
constexpr size_t kChecksumAt = 80;
constexpr uint32_t kEntryMagic = 0x4A58494B;  // "KIXJ"
constexpr size_t kEntryBytes = 96;
// Far more than any table has indexes or any journal grows to before it is
// folded: a file beyond them is not ours.
constexpr uint32_t kMaxSections = 1024;
constexpr uint32_t kMaxDirectoryBytes = 1u << 20;
constexpr uint64_t kMaxJournalEntries = 1u << 22;

void PutIdentity(SidecarWriter* w, const FileIdentity& id) {
    w->u64(id.device);
    w->u64(id.inode);
    w->u64(id.size);
    w->i64(id.modifiedNs);
    w->i64(id.changedNs);
}

bool GetIdentity(SidecarReader* r, FileIdentity* id) {
    return r->u64(&id->device) && r->u64(&id->inode) && r->u64(&id->size) &&
           r->i64(&id->modifiedNs) && r->i64(&id->changedNs);
}

struct Header {
    uint32_t sections = 0;
    SummaryStamp stamp;
    uint32_t records = 0;
    uint32_t directoryBytes = 0;
    uint64_t snapshotBytes = 0;
    uint32_t codePage = 0;
};

bool ParseHeader(std::string_view bytes, Header* h) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return false;
    }
    SidecarReader r(bytes.substr(sizeof kMagic));
    uint32_t version = 0;
    uint64_t sum = 0;
    return r.u32(&version) && version == kVersion && r.u32(&h->sections) &&
           h->sections <= kMaxSections && GetIdentity(&r, &h->stamp.identity) &&
           r.u64(&h->stamp.layout) && r.u32(&h->records) && r.u32(&h->directoryBytes) &&
           h->directoryBytes <= kMaxDirectoryBytes && r.u64(&h->snapshotBytes) &&
           h->snapshotBytes >= kHeaderBytes + h->directoryBytes && r.u64(&sum) &&
           r.u32(&h->codePage) && h->codePage <= static_cast<uint32_t>(CodePage::kCp1250);
}

// Header and directory with the checksum field zeroed, as it was computed.
uint64_t HeaderChecksum(std::string bytes) {
    std::memset(bytes.data() + kChecksumAt, 0, 8);
    return SidecarChecksum(bytes);
}

std::string EncodeEntry(const FileIdentity& before, const FileIdentity& after, uint32_t recno) {
    SidecarWriter w;
    w.u32(kEntryMagic);
    w.u32(recno);
    PutIdentity(&w, before);
    PutIdentity(&w, after);
    w.u64(SidecarChecksum(w.bytes()));
    return std::move(w.bytes());
}

// One journal entry; false when it is not a whole, undamaged entry.
bool ParseEntry(std::string_view bytes, FileIdentity* before, FileIdentity* after,
                uint32_t* recno) {
    SidecarReader r(bytes);
    uint32_t magic = 0;
    uint64_t sum = 0;
    return bytes.size() == kEntryBytes && r.u32(&magic) && magic == kEntryMagic && r.u32(recno) &&
           GetIdentity(&r, before) && GetIdentity(&r, after) && r.u64(&sum) &&
           sum == SidecarChecksum(bytes.substr(0, kEntryBytes - 8));
}

std::string EncodeSection(const IndexSection& s) {
    SidecarWriter w;
    for (size_t i = 0; i < s.runs(); ++i) {
        if (s.textKeys) {
            w.u16(static_cast<uint16_t>(s.texts[i].size()));
            w.bytes() += s.texts[i];
        } else {
            w.f64(s.numbers[i]);
        }
        w.u32(s.runLengths[i]);
    }
    for (uint32_t recno : s.recnos)
        w.u32(recno);
    return std::move(w.bytes());
}

template <class K>
bool InOrder(const K& a, const K& b, bool descending) {
    return descending ? b < a : a < b;
}

}  // namespace

std::string IndexDataPath(const std::string& tablePath) {
    return SidecarPath(tablePath, ".kid");
}

std::unique_ptr<IndexData> IndexData::Open(const std::string& tablePath,
                                           const SummaryStamp& current, uint32_t recordCount) {
    auto data = std::unique_ptr<IndexData>(new IndexData);
    uint64_t size = 0;
    // Through File: a pipe or device of that name is refused, not waited on.
    if (!File::Open(IndexDataPath(tablePath), false, &data->file_).ok() ||
        !data->file_.size(&size).ok() || size < kHeaderBytes) {
        return nullptr;
    }
    std::string head(kHeaderBytes, '\0');
    Header h;
    if (!data->file_.readAt(0, kHeaderBytes, head.data()).ok() || !ParseHeader(head, &h) ||
        h.snapshotBytes > size || (size - h.snapshotBytes) % kEntryBytes != 0 ||
        (size - h.snapshotBytes) / kEntryBytes > kMaxJournalEntries ||
        h.stamp.layout != current.layout || h.records > recordCount) {
        return nullptr;
    }
    head.resize(kHeaderBytes + h.directoryBytes);
    uint64_t sum = 0;
    std::memcpy(&sum, head.data() + kChecksumAt, 8);
    if (!data->file_.readAt(kHeaderBytes, h.directoryBytes, head.data() + kHeaderBytes).ok() ||
        HeaderChecksum(head) != sum) {
        return nullptr;
    }
    // The journal must lead from the snapshot to the table as it is now.
    const size_t entries = (size - h.snapshotBytes) / kEntryBytes;
    std::string journal(entries * kEntryBytes, '\0');
    if (!data->file_.readAt(h.snapshotBytes, journal.size(), journal.data()).ok()) return nullptr;
    FileIdentity at = h.stamp.identity;
    for (size_t i = 0; i < entries; ++i) {
        FileIdentity before, after;
        uint32_t recno = 0;
        if (!ParseEntry(std::string_view(journal).substr(i * kEntryBytes, kEntryBytes), &before,
                        &after, &recno) ||
            !(before == at) || recno >= recordCount) {
            return nullptr;
        }
        data->changed_.push_back(recno);
        at = after;
    }
    if (!(at == current.identity)) return nullptr;
    std::sort(data->changed_.begin(), data->changed_.end());
    data->changed_.erase(std::unique(data->changed_.begin(), data->changed_.end()),
                         data->changed_.end());
    data->snapshotRecords_ = h.records;
    data->codePage_ = static_cast<CodePage>(h.codePage);
    data->journalEntries_ = entries;

    SidecarReader r(std::string_view(head).substr(kHeaderBytes));
    for (uint32_t i = 0; i < h.sections; ++i) {
        Entry e;
        uint16_t nameLength = 0, expressionLength = 0;
        uint8_t descending = 0, text = 0;
        if (!r.u16(&nameLength) || !r.text(nameLength, &e.def.name) || !r.u16(&expressionLength) ||
            !r.text(expressionLength, &e.def.expression) || !r.u8(&descending) || descending > 1 ||
            !r.u8(&text) || text > 1 || !r.u32(&e.entries) || !r.u32(&e.runs) ||
            !r.u64(&e.offset) || !r.u64(&e.bytes) || !r.u64(&e.checksum) || e.def.name.empty() ||
            e.runs > e.entries || e.entries > h.records ||
            e.offset < kHeaderBytes + h.directoryBytes || e.offset > h.snapshotBytes ||
            e.bytes > h.snapshotBytes - e.offset) {
            return nullptr;
        }
        e.def.descending = descending == 1;
        e.textKeys = text == 1;
        data->directory_.push_back(std::move(e));
    }
    if (r.left() != 0) return nullptr;
    return data;
}

std::optional<size_t> IndexData::find(const IndexDef& def) const {
    for (size_t i = 0; i < directory_.size(); ++i) {
        if (directory_[i].def == def) return i;
    }
    return std::nullopt;
}

namespace {

// A section read in pieces through one buffer, checksummed as it goes, so
// that reading an index of a million rows allocates no copy of it.
class SectionStream {
public:
    SectionStream(const File& file, uint64_t offset, uint64_t bytes)
        : file_(file), offset_(offset), bytes_(bytes), sum_(bytes) {}

    bool get(void* out, size_t n) {
        char* to = static_cast<char*>(out);
        while (n > 0) {
            if (pos_ == length_ && !refill()) return false;
            const size_t k = std::min(n, length_ - pos_);
            std::memcpy(to, buffer_.get() + pos_, k);
            pos_ += k;
            to += k;
            n -= k;
        }
        return true;
    }
    bool u16(uint16_t* v) { return get(v, 2); }
    bool u32(uint32_t* v) { return get(v, 4); }
    bool f64(double* v) { return get(v, 8); }
    bool text(size_t n, std::string* out) {
        out->resize(n);
        return get(out->data(), n);
    }
    // True when everything was read and the checksum matches.
    bool finish(uint64_t expected) const {
        return done_ == bytes_ && pos_ == length_ && sum_.value() == expected;
    }

private:
    static constexpr size_t kChunk = 1 << 18;  // a multiple of the checksum's word
    bool refill() {
        if (done_ == bytes_) return false;
        if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kChunk);
        length_ = static_cast<size_t>(std::min<uint64_t>(kChunk, bytes_ - done_));
        if (!file_.readAt(offset_ + done_, length_, buffer_.get()).ok()) return false;
        sum_.add(buffer_.get(), length_);
        done_ += length_;
        pos_ = 0;
        return true;
    }

    const File& file_;
    uint64_t offset_;
    uint64_t bytes_;
    uint64_t done_ = 0;
    SidecarChecksumStream sum_;
    std::unique_ptr<char[]> buffer_;
    size_t pos_ = 0;
    size_t length_ = 0;
};

}  // namespace

bool IndexData::read(size_t section, IndexSection* out, const RunFilter& keepRun) const {
    const Entry& e = directory_.at(section);
    SectionStream in(file_, e.offset, e.bytes);
    IndexSection s;
    s.def = e.def;
    s.textKeys = e.textKeys;
    s.runLengths.resize(e.runs);
    if (s.textKeys) {
        s.texts.resize(e.runs);
    } else {
        s.numbers.resize(e.runs);
    }
    uint64_t total = 0;
    for (uint32_t i = 0; i < e.runs; ++i) {
        bool ok = true;
        if (s.textKeys) {
            uint16_t n = 0;
            ok = in.u16(&n) && in.text(n, &s.texts[i]) &&
                 (i == 0 || InOrder(s.texts[i - 1], s.texts[i], e.def.descending));
        } else {
            ok = in.f64(&s.numbers[i]) && !std::isnan(s.numbers[i]) &&
                 (i == 0 || InOrder(s.numbers[i - 1], s.numbers[i], e.def.descending));
        }
        if (!ok || !in.u32(&s.runLengths[i]) || s.runLengths[i] == 0) return false;
        total += s.runLengths[i];
    }
    if (total != e.entries) return false;
    std::vector<bool> kept(e.runs, true);
    if (keepRun) {
        for (uint32_t run = 0; run < e.runs; ++run)
            kept[run] = keepRun(s, run);
    } else {
        s.recnos.reserve(e.entries);
    }
    std::vector<bool> seen(snapshotRecords_, false);
    // Record numbers come a few thousand at a time.
    std::vector<uint32_t> batch(4096);
    size_t have = 0, next = 0;
    uint64_t left = e.entries;
    for (uint32_t run = 0; run < e.runs; ++run) {
        uint32_t previous = 0;
        for (uint32_t j = 0; j < s.runLengths[run]; ++j) {
            if (next == have) {
                have = static_cast<size_t>(std::min<uint64_t>(batch.size(), left));
                if (!in.get(batch.data(), have * 4)) return false;
                left -= have;
                next = 0;
            }
            const uint32_t recno = batch[next++];
            // Within a run, rows keep their physical order.
            if (recno >= snapshotRecords_ || seen[recno] || (j > 0 && recno <= previous)) {
                return false;
            }
            seen[recno] = true;
            previous = recno;
            if (kept[run]) s.recnos.push_back(recno);
        }
    }
    if (!in.finish(e.checksum)) return false;
    *out = std::move(s);
    return true;
}

Status WriteIndexData(const std::string& tablePath, const SummaryStamp& stamp, uint32_t recordCount,
                      CodePage page, const std::vector<IndexSection>& sections) {
    std::vector<std::string> bodies;
    for (const IndexSection& s : sections)
        bodies.push_back(EncodeSection(s));
    SidecarWriter dir;
    size_t directoryBytes = 0;
    for (const IndexSection& s : sections) {
        directoryBytes += 2 + s.def.name.size() + 2 + s.def.expression.size() + 2 + 8 + 24;
    }
    uint64_t offset = kHeaderBytes + directoryBytes;
    for (size_t i = 0; i < sections.size(); ++i) {
        const IndexSection& s = sections[i];
        dir.u16(static_cast<uint16_t>(s.def.name.size()));
        dir.bytes() += s.def.name;
        dir.u16(static_cast<uint16_t>(s.def.expression.size()));
        dir.bytes() += s.def.expression;
        dir.u8(s.def.descending ? 1 : 0);
        dir.u8(s.textKeys ? 1 : 0);
        dir.u32(static_cast<uint32_t>(s.recnos.size()));
        dir.u32(static_cast<uint32_t>(s.runs()));
        dir.u64(offset);
        dir.u64(bodies[i].size());
        dir.u64(SidecarChecksum(bodies[i]));
        offset += bodies[i].size();
    }
    SidecarWriter w;
    w.bytes().append(kMagic, sizeof kMagic);
    w.u32(kVersion);
    w.u32(static_cast<uint32_t>(sections.size()));
    PutIdentity(&w, stamp.identity);
    w.u64(stamp.layout);
    w.u32(recordCount);
    w.u32(static_cast<uint32_t>(directoryBytes));
    w.u64(offset);  // the journal starts after the last section
    w.u64(0);       // checksum, filled in below
    w.u32(static_cast<uint32_t>(page));
    w.u32(0);
    w.bytes() += dir.bytes();
    std::string& bytes = w.bytes();
    const uint64_t sum = SidecarChecksum(bytes);
    std::memcpy(bytes.data() + kChecksumAt, &sum, 8);
    for (const std::string& body : bodies)
        bytes += body;
    return ReplaceSmallFile(IndexDataPath(tablePath), bytes);
}

size_t AppendIndexJournal(const std::string& tablePath, const FileIdentity& before,
                          const FileIdentity& after, uint32_t recno) {
    File file;
    uint64_t size = 0;
    std::string head(kHeaderBytes, '\0');
    Header h;
    if (!File::Open(IndexDataPath(tablePath), true, &file).ok() || !file.size(&size).ok() ||
        size < kHeaderBytes || !file.readAt(0, kHeaderBytes, head.data()).ok() ||
        !ParseHeader(head, &h) || h.snapshotBytes > size ||
        (size - h.snapshotBytes) % kEntryBytes != 0) {
        return 0;
    }
    // Only the end of the chain is looked at: a reader checks the rest.
    FileIdentity end = h.stamp.identity;
    if (size > h.snapshotBytes) {
        std::string last(kEntryBytes, '\0');
        FileIdentity from;
        uint32_t lastRecno = 0;
        if (!file.readAt(size - kEntryBytes, kEntryBytes, last.data()).ok() ||
            !ParseEntry(last, &from, &end, &lastRecno)) {
            return 0;
        }
    }
    if (!(end == before) || !file.writeAt(size, EncodeEntry(before, after, recno)).ok()) return 0;
    return (size - h.snapshotBytes) / kEntryBytes + 1;
}

}  // namespace kolvio
