#include "data/sql/answer_cache.h"

namespace kolvio::sql {

namespace {

constexpr size_t kMaxAnswers = 256;

}  // namespace

AnswerCache& AnswerCache::Shared() {
    static AnswerCache cache;
    return cache;
}

std::shared_ptr<const CachedAnswer> AnswerCache::find(const std::string& tablePath,
                                                      const FileIdentity& identity,
                                                      const std::string& text) const {
    std::lock_guard lock(mu_);
    const auto it = entries_.find({tablePath, text});
    if (it == entries_.end() || !(it->second->identity == identity)) return nullptr;
    return it->second;
}

void AnswerCache::store(const std::string& text, std::shared_ptr<const CachedAnswer> answer) {
    std::lock_guard lock(mu_);
    if (entries_.size() >= kMaxAnswers) entries_.clear();
    entries_[{answer->tablePath, text}] = std::move(answer);
}

void AnswerCache::clear() {
    std::lock_guard lock(mu_);
    entries_.clear();
}

}  // namespace kolvio::sql
