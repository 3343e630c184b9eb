#include "data/sql/execution/hash_join.h"

namespace kolvio::sql {

HashJoin::HashJoin(const JoinPlan& plan, const CatalogTable& table)
    : plan_(plan),
      source_(table),
      scan_(table, plan.build.fields, plan.build.filter.get()),
      rows_(scan_.types()),
      keys_(TypesOf(plan.buildKeys)),
      probeKeys_(plan.probeKeys) {
    if (plan.filter) filter_.emplace(*plan.filter);
    probeSel_.reserve(kVectorSize);
    buildSel_.reserve(kVectorSize);
    filterSel_.resize(kVectorSize);
}

void HashJoin::build() {
    ExpressionList buildKeys(plan_.buildKeys);
    DataChunk chunk;
    DataChunk keyChunk;
    while (scan_.next(&chunk)) {
        rows_.append(chunk);
        const auto& keys = buildKeys.execute(chunk);
        keyChunk.columns.clear();
        for (const Vector* k : keys) {
            keyChunk.columns.emplace_back(k->type());
            if (k->isConstant()) {
                std::vector<uint32_t> zeros(chunk.size, 0);
                keyChunk.columns.back().gather(*k, zeros.data(), chunk.size);
            } else {
                keyChunk.columns.back() = *k;
            }
        }
        keyChunk.size = chunk.size;
        keys_.append(keyChunk);
    }
    std::vector<const Vector*> keyColumns;
    for (const Vector& k : keys_.columns)
        keyColumns.push_back(&k);
    table_.build(std::move(keyColumns), rows_.rows);
}

void HashJoin::probe(DataChunk& in, const ChunkConsumer& emit) {
    const auto& keys = probeKeys_.execute(in);
    for (size_t i = 0; i < in.size; ++i) {
        table_.forEachMatch(keys, i, [&](uint32_t r) {
            if (probeSel_.size() == kVectorSize) flush(in, emit, false);
            probeSel_.push_back(static_cast<uint32_t>(i));
            buildSel_.push_back(r);
        });
    }
    flush(in, emit, true);
}

bool HashJoin::eachRowOnce(size_t inRows) const {
    if (probeSel_.size() != inRows) return false;
    for (size_t k = 0; k < inRows; ++k) {
        if (probeSel_[k] != k) return false;
    }
    return true;
}

void HashJoin::flush(DataChunk& in, const ChunkConsumer& emit, bool last) {
    const size_t n = probeSel_.size();
    if (n == 0) return;
    const size_t probeColumns = in.columns.size();
    out_.columns.resize(probeColumns + rows_.columns.size());
    // A lookup join (every ride has its one route, bike, type) passes the
    // probe rows on as they are.
    const bool whole = last && eachRowOnce(in.size);
    for (size_t c = 0; c < probeColumns; ++c) {
        if (whole) {
            out_.columns[c].take(in.columns[c]);
        } else {
            out_.columns[c].gather(in.columns[c], probeSel_.data(), n);
        }
    }
    for (size_t c = 0; c < rows_.columns.size(); ++c) {
        out_.columns[probeColumns + c].gather(rows_.columns[c], buildSel_.data(), n);
    }
    out_.size = n;
    probeSel_.clear();
    buildSel_.clear();
    if (filter_) {
        const size_t kept = filter_->select(out_, filterSel_.data());
        if (kept == 0) return;
        out_.compact(filterSel_.data(), kept);
    }
    emit(out_);
}

}  // namespace kolvio::sql
