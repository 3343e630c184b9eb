#include "data/sql/execution/aggregate_state.h"

#include <cmath>

#include "data/sql/execution/text_order.h"

namespace kolvio::sql {

AggregateState::AggregateState(AggFunc func, bool star, SqlType argType)
    : func_(func), star_(star), argType_(argType) {}

SqlType AggregateState::resultType() const {
    return (func_ == AggFunc::kMin || func_ == AggFunc::kMax) ? argType_ : SqlType::kNumber;
}

void AggregateState::resize(size_t groups) {
    counts_.resize(groups, 0);
    switch (func_) {
        case AggFunc::kSum:
        case AggFunc::kAvg:
            sums_.resize(groups, 0);
            compensations_.resize(groups, 0);
            break;
        case AggFunc::kMin:
        case AggFunc::kMax:
            if (argType_ == SqlType::kText) {
                textExtremes_.resize(groups);
            } else {
                extremes_.resize(groups, 0);
            }
            break;
        case AggFunc::kCount:
            break;
    }
}

void AggregateState::update(const uint32_t* groups, const Vector* arg, size_t n) {
    if (star_) {
        for (size_t i = 0; i < n; ++i)
            ++counts_[groups[i]];
        return;
    }
    switch (func_) {
        case AggFunc::kCount:
            for (size_t i = 0; i < n; ++i)
                counts_[groups[i]] += arg->isValid(i);
            return;
        case AggFunc::kSum:
        case AggFunc::kAvg:
            for (size_t i = 0; i < n; ++i) {
                if (!arg->isValid(i)) continue;
                const uint32_t g = groups[i];
                const double x = arg->number(i);
                const double s = sums_[g];
                const double t = s + x;
                compensations_[g] += std::fabs(s) >= std::fabs(x) ? (s - t) + x : (x - t) + s;
                sums_[g] = t;
                ++counts_[g];
            }
            return;
        case AggFunc::kMin:
        case AggFunc::kMax: {
            const bool isMin = func_ == AggFunc::kMin;
            if (argType_ == SqlType::kText) {
                for (size_t i = 0; i < n; ++i) {
                    if (!arg->isValid(i)) continue;
                    const uint32_t g = groups[i];
                    const std::string& x = arg->text(i);
                    const bool first = counts_[g]++ == 0;
                    if (first || (CompareText(x, textExtremes_[g]) < 0) == isMin) {
                        textExtremes_[g] = x;
                    }
                }
                return;
            }
            for (size_t i = 0; i < n; ++i) {
                if (!arg->isValid(i)) continue;
                const uint32_t g = groups[i];
                const double x = arg->number(i);
                if (counts_[g]++ == 0 || (isMin ? x < extremes_[g] : x > extremes_[g])) {
                    extremes_[g] = x;
                }
            }
            return;
        }
    }
}

void AggregateState::finalize(size_t first, size_t n, Vector* out) const {
    *out = Vector(resultType());
    out->resize(n);
    for (size_t k = 0; k < n; ++k) {
        const size_t g = first + k;
        const int64_t count = counts_[g];
        if (func_ == AggFunc::kCount) {
            out->setNumber(k, static_cast<double>(count));
            continue;
        }
        if (count == 0) {
            out->setNull(k);
            continue;
        }
        switch (func_) {
            case AggFunc::kSum:
            case AggFunc::kAvg: {
                double v = sums_[g] + compensations_[g];
                if (func_ == AggFunc::kAvg) v /= static_cast<double>(count);
                if (std::isfinite(v)) {
                    out->setNumber(k, v);
                } else {
                    out->setNull(k);
                }
                break;
            }
            default:
                if (argType_ == SqlType::kText) {
                    out->setText(k, textExtremes_[g]);
                } else {
                    out->setNumber(k, extremes_[g]);
                }
                break;
        }
    }
}

size_t AggregateState::memoryBytes() const {
    size_t bytes = counts_.capacity() * 8 + sums_.capacity() * 8 + compensations_.capacity() * 8 +
                   extremes_.capacity() * 8 + textExtremes_.capacity() * sizeof(std::string);
    for (const auto& t : textExtremes_)
        bytes += t.capacity();
    return bytes;
}

}  // namespace kolvio::sql
