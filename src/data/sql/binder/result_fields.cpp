#include "data/sql/binder/result_fields.h"

#include <algorithm>
#include <cmath>

#include "data/codepage.h"

namespace kolvio::sql {

namespace {

constexpr size_t kMaxName = 10;

using BK = BoundExpr::Kind;

const FieldLayout* ColumnField(const BoundExpr& e, const std::vector<BoundTableRef>& tables) {
    if (e.kind != BK::kColumn) return nullptr;
    return &tables[e.table].table->fields[e.field];
}

FieldDef Computed(SqlType type) {
    switch (type) {
        case SqlType::kDate:
            return FieldDef::DateField("");
        case SqlType::kBool:
            return FieldDef::Logical("");
        case SqlType::kText:
            return FieldDef::Char("", 1);
        case SqlType::kNumber:
            break;
    }
    return FieldDef::Numeric("", kComputedWidth, kComputedDecimals);
}

FieldDef OfColumn(const FieldLayout& f) {
    if (f.type == FieldType::kInteger) return FieldDef::Numeric("", 11, 0);
    FieldDef d = f;
    d.name.clear();
    return d;
}

size_t CodePointCount(const std::string& s) {
    size_t n = 0;
    for (size_t pos = 0; pos < s.size(); ++n)
        NextCodePoint(s, &pos);
    return n;
}

bool NameTaken(const std::vector<std::string>& names, const std::string& name) {
    for (const auto& n : names) {
        if (EqualsIgnoreCase(n, name)) return true;
    }
    return false;
}

std::string Sanitize(const std::string& wanted) {
    std::string out;
    for (size_t pos = 0; pos < wanted.size();) {
        const char32_t cp = NextCodePoint(wanted, &pos);
        const bool ok = (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') ||
                        (cp >= '0' && cp <= '9') || cp == '_';
        out.push_back(ok ? static_cast<char>(cp) : '_');
    }
    out = ToUpperAscii(out);
    if (out.empty()) out = "POLE";
    if (out[0] >= '0' && out[0] <= '9') out.insert(out.begin(), '_');
    return out;
}

}  // namespace

FieldDef ResultFieldDef(const BoundExpr& e, const std::vector<BoundTableRef>& tables) {
    if (const FieldLayout* f = ColumnField(e, tables)) return OfColumn(*f);
    switch (e.kind) {
        case BK::kConstant:
            if (e.type == SqlType::kText) {
                const size_t n = CodePointCount(e.constant.asText());
                return FieldDef::Char("", static_cast<int>(std::clamp<size_t>(n, 1, 254)));
            }
            if (e.type == SqlType::kNumber && !e.constant.isNull() &&
                std::floor(e.constant.asDouble()) == e.constant.asDouble()) {
                return FieldDef::Numeric("", kComputedWidth, 0);
            }
            return Computed(e.type);
        case BK::kAggregate: {
            const BoundExpr* arg = e.star ? nullptr : e.children[0].get();
            const FieldLayout* f = arg ? ColumnField(*arg, tables) : nullptr;
            switch (e.aggFunc) {
                case AggFunc::kCount:
                    return FieldDef::Numeric("", 11, 0);
                case AggFunc::kSum:
                    if (f && IsNumericType(f->type)) {
                        return FieldDef::Numeric("", kComputedWidth, f->decimals);
                    }
                    return Computed(SqlType::kNumber);
                case AggFunc::kAvg:
                    return Computed(SqlType::kNumber);
                case AggFunc::kMin:
                case AggFunc::kMax:
                    if (f) return OfColumn(*f);
                    return ResultFieldDef(*arg, tables);
            }
            break;
        }
        default:
            break;
    }
    return Computed(e.type);
}

std::string WantedFieldName(const BoundExpr& e, const std::string& alias, size_t ordinal,
                            const std::vector<BoundTableRef>& tables) {
    if (!alias.empty()) return alias;
    if (const FieldLayout* f = ColumnField(e, tables)) return f->name;
    if (e.kind == BK::kAggregate) {
        std::string name = AggFuncName(e.aggFunc);
        if (!e.star) {
            if (const FieldLayout* f = ColumnField(*e.children[0], tables)) name += "_" + f->name;
        }
        return name;
    }
    return "EXPR" + std::to_string(ordinal);
}

std::vector<std::string> MakeFieldNames(const std::vector<std::string>& wanted) {
    std::vector<std::string> names;
    for (const std::string& w : wanted) {
        std::string base = Sanitize(w);
        std::string name = base.substr(0, kMaxName);
        for (int n = 2; NameTaken(names, name); ++n) {
            const std::string suffix = "_" + std::to_string(n);
            name = base.substr(0, kMaxName - suffix.size()) + suffix;
        }
        names.push_back(name);
    }
    return names;
}

}  // namespace kolvio::sql
