#include "data/sql/execution/hash_aggregate.h"

#include <algorithm>

namespace kolvio::sql {

HashAggregate::HashAggregate(const PhysicalPlan& plan)
    : plan_(plan), groupKeys_(plan.groups), table_(TypesOf(plan.groups)) {
    for (const AggregatePlan& a : plan.aggregates) {
        args_.emplace_back();
        if (a.arg) args_.back().emplace(*a.arg);
        states_.emplace_back(a.func, a.star, a.arg ? a.arg->type : SqlType::kNumber);
    }
    groupIds_.resize(kVectorSize);
}

void HashAggregate::sink(const DataChunk& in) {
    if (in.size > groupIds_.size()) groupIds_.resize(in.size);
    const auto& keys = groupKeys_.execute(in);
    table_.findOrCreate(keys, in.size, groupIds_.data());
    for (size_t a = 0; a < states_.size(); ++a) {
        states_[a].resize(table_.groupCount());
        const Vector* arg = args_[a] ? &args_[a]->execute(in) : nullptr;
        states_[a].update(groupIds_.data(), arg, in.size);
    }
}

void HashAggregate::finish(const ChunkConsumer& emit) {
    if (plan_.groups.empty() && table_.groupCount() == 0) {
        // An aggregate over no rows still answers: one row.
        uint32_t group = 0;
        table_.findOrCreate({}, 1, &group);
    }
    const size_t groups = table_.groupCount();
    for (auto& s : states_)
        s.resize(groups);
    DataChunk out;
    for (size_t first = 0; first < groups; first += kVectorSize) {
        const size_t n = std::min(kVectorSize, groups - first);
        out.columns.clear();
        std::vector<uint32_t> sel(n);
        for (size_t k = 0; k < n; ++k)
            sel[k] = static_cast<uint32_t>(first + k);
        for (const Vector& key : table_.keys()) {
            out.columns.emplace_back(key.type());
            out.columns.back().gather(key, sel.data(), n);
        }
        for (const auto& s : states_) {
            out.columns.emplace_back();
            s.finalize(first, n, &out.columns.back());
        }
        out.size = n;
        emit(out);
    }
}

size_t HashAggregate::memoryBytes() const {
    size_t bytes = table_.memoryBytes();
    for (const auto& s : states_)
        bytes += s.memoryBytes();
    return bytes;
}

}  // namespace kolvio::sql
