#include "data/sql/execution/zone_pruning.h"

#include <algorithm>

namespace kolvio::sql {

namespace {

using BK = BoundExpr::Kind;

// The zone of a slot that reads a non-text field, or null.
const Zone* SlotZone(const BoundExpr& e, const TableZones& zones, uint32_t block,
                     const std::vector<int>& fields) {
    if (e.kind != BK::kSlot || e.type == SqlType::kText) return nullptr;
    const Zone& z = zones.zone(static_cast<size_t>(fields[e.slot]), block);
    return z.state == Zone::State::kUnknown ? nullptr : &z;
}

const Value* NumberConstant(const BoundExpr& e) {
    if (e.kind != BK::kConstant || e.type == SqlType::kText || e.constant.isNull()) return nullptr;
    return &e.constant;
}

double AsNumber(const Value& v) {
    return v.isDate() ? static_cast<double>(v.asDate().dayNumber()) : v.asDouble();
}

CompareOp Mirror(CompareOp op) {
    switch (op) {
        case CompareOp::kLt:
            return CompareOp::kGt;
        case CompareOp::kLe:
            return CompareOp::kGe;
        case CompareOp::kGt:
            return CompareOp::kLt;
        case CompareOp::kGe:
            return CompareOp::kLe;
        default:
            return op;
    }
}

bool RangeMayCompare(const Zone& z, CompareOp op, double c) {
    if (z.state == Zone::State::kNoValues) return false;  // null compares true with nothing
    switch (op) {
        case CompareOp::kEq:
            return z.min <= c && c <= z.max;
        case CompareOp::kNe:
            return !(z.min == c && z.max == c);
        case CompareOp::kLt:
            return z.min < c;
        case CompareOp::kLe:
            return z.min <= c;
        case CompareOp::kGt:
            return z.max > c;
        case CompareOp::kGe:
            return z.max >= c;
    }
    return true;
}

// The zone of a slot when every live row of the block has a value in it.
const Zone* FullZone(const BoundExpr& e, const TableZones& zones, uint32_t block,
                     const std::vector<int>& fields) {
    const Zone* z = SlotZone(e, zones, block, fields);
    if (!z || z->state != Zone::State::kRange || zones.liveRows(block) < 0 ||
        z->values != zones.liveRows(block)) {
        return nullptr;
    }
    return z;
}

bool RangeSurelyCompares(const Zone& z, CompareOp op, double c) {
    switch (op) {
        case CompareOp::kEq:
            return z.min == c && z.max == c;
        case CompareOp::kNe:
            return c < z.min || c > z.max;
        case CompareOp::kLt:
            return z.max < c;
        case CompareOp::kLe:
            return z.max <= c;
        case CompareOp::kGt:
            return z.min > c;
        case CompareOp::kGe:
            return z.min >= c;
    }
    return false;
}

}  // namespace

bool BlockSurelyMatches(const BoundExpr& e, const TableZones& zones, uint32_t block,
                        const std::vector<int>& fields) {
    switch (e.kind) {
        case BK::kAnd:
            for (const auto& c : e.children) {
                if (!BlockSurelyMatches(*c, zones, block, fields)) return false;
            }
            return true;
        case BK::kOr:
            for (const auto& c : e.children) {
                if (BlockSurelyMatches(*c, zones, block, fields)) return true;
            }
            return false;
        case BK::kCompare: {
            const BoundExpr& a = *e.children[0];
            const BoundExpr& b = *e.children[1];
            if (const Zone* z = FullZone(a, zones, block, fields)) {
                if (const Value* c = NumberConstant(b))
                    return RangeSurelyCompares(*z, e.compareOp, AsNumber(*c));
            }
            if (const Zone* z = FullZone(b, zones, block, fields)) {
                if (const Value* c = NumberConstant(a))
                    return RangeSurelyCompares(*z, Mirror(e.compareOp), AsNumber(*c));
            }
            return false;
        }
        case BK::kBetween: {
            const Zone* z = FullZone(*e.children[0], zones, block, fields);
            const Value* lo = NumberConstant(*e.children[1]);
            const Value* hi = NumberConstant(*e.children[2]);
            if (!z || !lo || !hi) return false;
            const bool inside = AsNumber(*lo) <= z->min && z->max <= AsNumber(*hi);
            const bool outside = z->max < AsNumber(*lo) || z->min > AsNumber(*hi);
            return e.negated ? outside : inside;
        }
        case BK::kConstant:
            return !e.constant.isNull() && e.constant.asBool();
        default:
            return false;
    }
}

bool BlockMayMatch(const BoundExpr& e, const TableZones& zones, uint32_t block,
                   const std::vector<int>& fields) {
    switch (e.kind) {
        case BK::kAnd:
            for (const auto& c : e.children) {
                if (!BlockMayMatch(*c, zones, block, fields)) return false;
            }
            return true;
        case BK::kOr:
            for (const auto& c : e.children) {
                if (BlockMayMatch(*c, zones, block, fields)) return true;
            }
            return false;
        case BK::kCompare: {
            const BoundExpr& a = *e.children[0];
            const BoundExpr& b = *e.children[1];
            if (const Zone* z = SlotZone(a, zones, block, fields)) {
                if (const Value* c = NumberConstant(b))
                    return RangeMayCompare(*z, e.compareOp, AsNumber(*c));
            }
            if (const Zone* z = SlotZone(b, zones, block, fields)) {
                if (const Value* c = NumberConstant(a)) {
                    return RangeMayCompare(*z, Mirror(e.compareOp), AsNumber(*c));
                }
            }
            return true;
        }
        case BK::kBetween: {
            const Zone* z = SlotZone(*e.children[0], zones, block, fields);
            const Value* lo = NumberConstant(*e.children[1]);
            const Value* hi = NumberConstant(*e.children[2]);
            if (!z || !lo || !hi) return true;
            if (z->state == Zone::State::kNoValues) return false;
            if (e.negated) return z->min < AsNumber(*lo) || z->max > AsNumber(*hi);
            return z->max >= AsNumber(*lo) && z->min <= AsNumber(*hi);
        }
        case BK::kIn: {
            const Zone* z = SlotZone(*e.children[0], zones, block, fields);
            if (!z || e.negated) return true;
            if (z->state == Zone::State::kNoValues) return false;
            for (size_t i = 1; i < e.children.size(); ++i) {
                const Value* c = NumberConstant(*e.children[i]);
                if (!c) {
                    if (e.children[i]->kind == BK::kConstant) continue;  // null: never equal
                    return true;
                }
                if (RangeMayCompare(*z, CompareOp::kEq, AsNumber(*c))) return true;
            }
            return false;
        }
        case BK::kConstant:
            return e.constant.isNull() || e.constant.asBool();
        default:
            return true;
    }
}

std::optional<std::optional<double>> AggregateFromZones(const TableZones& zones, AggFunc func,
                                                        int field) {
    if (func == AggFunc::kCount && field < 0) {
        if (!zones.liveRowsKnown()) return std::nullopt;
        double n = 0;
        for (uint32_t b = 0; b < zones.blocks(); ++b)
            n += static_cast<double>(zones.liveRows(b));
        return std::optional<double>(n);
    }
    if ((func != AggFunc::kMin && func != AggFunc::kMax) || field < 0 ||
        !zones.fieldKnown(static_cast<size_t>(field))) {
        return std::nullopt;
    }
    std::optional<double> result;
    for (uint32_t b = 0; b < zones.blocks(); ++b) {
        const Zone& z = zones.zone(static_cast<size_t>(field), b);
        if (z.state != Zone::State::kRange) continue;
        const double v = func == AggFunc::kMin ? z.min : z.max;
        if (!result || (func == AggFunc::kMin ? v < *result : v > *result)) result = v;
    }
    return result;
}

}  // namespace kolvio::sql
