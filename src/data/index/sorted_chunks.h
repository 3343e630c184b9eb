// An ordered multiset of (key, record number) with access by position.
//
// Entries live in a list of sorted chunks, so an insert or erase moves at most
// one chunk's entries instead of the whole index, while a position lookup is
// a binary search over the running chunk sizes. Equal keys are ordered by
// record number, which keeps rows with equal keys in physical order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kolvio {

template <class K>
class SortedChunks {
public:
    struct Entry {
        K key;
        uint32_t recno;
    };

    explicit SortedChunks(bool descending) : descending_(descending) {}

    void build(std::vector<Entry> entries) {
        std::sort(entries.begin(), entries.end(),
                  [this](const Entry& a, const Entry& b) { return less(a, b); });
        buildSorted(std::move(entries));
    }

    // The same for entries already in order (checked; false when not).
    bool buildSorted(std::vector<Entry> entries) {
        for (size_t i = 1; i < entries.size(); ++i) {
            if (!less(entries[i - 1], entries[i])) return false;
        }
        chunks_.clear();
        for (size_t i = 0; i < entries.size(); i += kFill) {
            const size_t end = std::min(entries.size(), i + kFill);
            chunks_.emplace_back(std::make_move_iterator(entries.begin() + i),
                                 std::make_move_iterator(entries.begin() + end));
        }
        size_ = entries.size();
        prefixValid_ = false;
        return true;
    }

    // Calls `fn(entry)` for every entry in order.
    template <class Fn>
    void forEach(Fn fn) const {
        for (const auto& chunk : chunks_) {
            for (const Entry& e : chunk)
                fn(e);
        }
    }

    bool isLess(const Entry& a, const Entry& b) const { return less(a, b); }

    size_t size() const { return size_; }

    void insert(Entry e) {
        if (chunks_.empty()) chunks_.emplace_back();
        size_t c = chunkFor(e);
        auto& chunk = chunks_[c];
        chunk.insert(
            std::upper_bound(chunk.begin(), chunk.end(), e,
                             [this](const Entry& a, const Entry& b) { return less(a, b); }),
            std::move(e));
        if (chunk.size() > 2 * kFill) {
            std::vector<Entry> tail(std::make_move_iterator(chunk.begin() + kFill),
                                    std::make_move_iterator(chunk.end()));
            chunk.resize(kFill);
            chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c) + 1, std::move(tail));
        }
        ++size_;
        prefixValid_ = false;
    }

    // Removes the entry (key, recno); false when it is not there.
    bool erase(const K& key, uint32_t recno) {
        const Entry probe{key, recno};
        if (chunks_.empty()) return false;
        const size_t c = chunkFor(probe);
        auto& chunk = chunks_[c];
        auto it = std::lower_bound(chunk.begin(), chunk.end(), probe,
                                   [this](const Entry& a, const Entry& b) { return less(a, b); });
        if (it == chunk.end() || it->recno != recno || less(probe, *it)) return false;
        chunk.erase(it);
        if (chunk.empty() && chunks_.size() > 1) {
            chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(c));
        }
        --size_;
        prefixValid_ = false;
        return true;
    }

    const Entry& at(size_t ordinal) const {
        const auto& prefix = prefixes();
        const size_t c = static_cast<size_t>(
            std::upper_bound(prefix.begin(), prefix.end(), ordinal) - prefix.begin() - 1);
        return chunks_[c][ordinal - prefix[c]];
    }

    // Position of the first entry whose key is not before `key`.
    size_t lowerBound(const K& key) const {
        return bound(key, [this](const Entry& e, const K& k) { return keyLess(e.key, k); });
    }
    // Position of the first entry whose key is after `key`.
    size_t upperBound(const K& key) const {
        return bound(key, [this](const Entry& e, const K& k) { return !keyLess(k, e.key); });
    }

    // Position of the entry (key, recno).
    std::optional<size_t> find(const K& key, uint32_t recno) const {
        const Entry probe{key, recno};
        if (chunks_.empty()) return std::nullopt;
        const size_t c = chunkFor(probe);
        const auto& chunk = chunks_[c];
        auto it = std::lower_bound(chunk.begin(), chunk.end(), probe,
                                   [this](const Entry& a, const Entry& b) { return less(a, b); });
        if (it == chunk.end() || it->recno != recno || less(probe, *it)) return std::nullopt;
        return prefixes()[c] + static_cast<size_t>(it - chunk.begin());
    }

private:
    static constexpr size_t kFill = 512;

    bool keyLess(const K& a, const K& b) const { return descending_ ? b < a : a < b; }
    bool less(const Entry& a, const Entry& b) const {
        if (keyLess(a.key, b.key)) return true;
        if (keyLess(b.key, a.key)) return false;
        return a.recno < b.recno;
    }

    // The chunk an entry belongs to: the first whose last entry is not before it.
    size_t chunkFor(const Entry& e) const {
        size_t lo = 0, hi = chunks_.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (!chunks_[mid].empty() && less(chunks_[mid].back(), e)) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        return std::min(lo, chunks_.size() - 1);
    }

    template <class Before>
    size_t bound(const K& key, Before before) const {
        size_t lo = 0, hi = chunks_.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (chunks_[mid].empty() || before(chunks_[mid].back(), key)) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        if (lo == chunks_.size()) return size_;
        const size_t c = lo;
        const auto& chunk = chunks_[c];
        const auto it = std::partition_point(chunk.begin(), chunk.end(),
                                             [&](const Entry& e) { return before(e, key); });
        return prefixes()[c] + static_cast<size_t>(it - chunk.begin());
    }

    const std::vector<size_t>& prefixes() const {
        if (!prefixValid_) {
            prefix_.resize(chunks_.size());
            size_t sum = 0;
            for (size_t i = 0; i < chunks_.size(); ++i) {
                prefix_[i] = sum;
                sum += chunks_[i].size();
            }
            prefixValid_ = true;
        }
        return prefix_;
    }

    bool descending_;
    std::vector<std::vector<Entry>> chunks_;
    size_t size_ = 0;
    mutable std::vector<size_t> prefix_;
    mutable bool prefixValid_ = false;
};

}  // namespace kolvio
