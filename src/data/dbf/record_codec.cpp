#include "data/dbf/record_codec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "data/dbf/memo_file.h"

namespace kolvio {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\0'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::optional<double> ParseNumber(std::string_view s) {
    s = Trim(s);
    while (!s.empty() && s.front() == '*')
        s.remove_prefix(1);  // overflow marks
    if (s.empty()) return std::nullopt;
    if (s.front() == '+') s.remove_prefix(1);
    char buf[64];
    if (s.size() >= sizeof buf) return std::nullopt;
    std::memcpy(buf, s.data(), s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (buf[i] == ',') buf[i] = '.';  // some tools write a decimal comma
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(buf, buf + s.size(), v);
    if (ec != std::errc() || end != buf + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

int32_t ReadInt32(const char* p) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | static_cast<uint8_t>(p[i]);
    return static_cast<int32_t>(u);
}

std::optional<uint32_t> MemoBlock(std::string_view raw) {
    raw = Trim(raw);
    if (raw.empty()) return std::nullopt;
    uint32_t block = 0;
    const auto [end, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), block);
    if (ec != std::errc() || end != raw.data() + raw.size() || block == 0) return std::nullopt;
    return block;
}

Status WrongKind(const FieldLayout& f) {
    return Status::Invalid("Do pole \"" + f.name + "\" nelze uložit hodnotu tohoto druhu.");
}

Status TooLong(const FieldLayout& f) {
    return Status::Invalid("Hodnota se nevejde do pole \"" + f.name + "\" (šířka " +
                           std::to_string(f.length) + ").");
}

}  // namespace

std::string_view RawField(const FieldLayout& field, const char* record) {
    std::string_view s(record + field.offset, static_cast<size_t>(field.length));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

std::optional<double> DecodeNumber(const FieldLayout& field, const char* record) {
    const char* p = record + field.offset;
    switch (field.type) {
        case FieldType::kNumeric:
        case FieldType::kFloat:
            return ParseNumber(std::string_view(p, static_cast<size_t>(field.length)));
        case FieldType::kInteger:
            return static_cast<double>(ReadInt32(p));
        case FieldType::kDate: {
            const auto d = Date::FromDbf(std::string_view(p, 8));
            if (!d) return std::nullopt;
            return static_cast<double>(d->dayNumber());
        }
        case FieldType::kLogical:
            if (std::strchr("TtYy", *p) && *p) return 1.0;
            if (std::strchr("FfNn", *p) && *p) return 0.0;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

Value DecodeField(const FieldLayout& field, const char* record, CodePage page,
                  const MemoFile* memo) {
    switch (field.type) {
        case FieldType::kChar:
            return Value(DecodeToUtf8(RawField(field, record), page));
        case FieldType::kDate: {
            const auto d = Date::FromDbf(std::string_view(record + field.offset, 8));
            return d ? Value(*d) : Value();
        }
        case FieldType::kLogical: {
            const auto n = DecodeNumber(field, record);
            return n ? Value(*n != 0) : Value();
        }
        case FieldType::kMemo:
        case FieldType::kBlob: {
            const auto block = MemoBlock(std::string_view(record + field.offset, 10));
            if (!block || !memo) return Value();
            std::string data;
            if (!memo->read(*block, &data).ok()) return Value();
            if (field.type == FieldType::kMemo) return Value(DecodeToUtf8(data, page));
            return Value(std::move(data));
        }
        default: {
            const auto n = DecodeNumber(field, record);
            return n ? Value(*n) : Value();
        }
    }
}

namespace {

constexpr double kPowersOf10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// `value` with `decimals` places into buf as printf's "%.*f" writes it, by
// integer arithmetic; 0 when that could round otherwise than printf (a
// halfway case, or a number beyond 2^43 where the scaling loses too much).
size_t FixedByIntegers(double value, int decimals, char* buf) {
    if (decimals < 0 || decimals > 8) return 0;
    const double scaled = std::fabs(value) * kPowersOf10[decimals];
    if (!(scaled < 8.796e12)) return 0;
    // The product is within 2^-10 of the exact one: only a fraction close
    // to one half could round either way.
    const double fraction = scaled - std::floor(scaled);
    if (std::fabs(fraction - 0.5) < 1.0 / 256) return 0;
    const auto units = static_cast<uint64_t>(std::floor(scaled) + (fraction > 0.5 ? 1 : 0));
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, units);
    size_t n = static_cast<size_t>(end - digits);
    size_t at = 0;
    if (std::signbit(value)) buf[at++] = '-';
    const auto places = static_cast<size_t>(decimals);
    if (n <= places) {  // "0.05": zeros before the digits
        buf[at++] = '0';
        if (places > 0) buf[at++] = '.';
        for (size_t z = n; z < places; ++z)
            buf[at++] = '0';
        std::memcpy(buf + at, digits, n);
        return at + n;
    }
    std::memcpy(buf + at, digits, n - places);
    at += n - places;
    if (places > 0) {
        buf[at++] = '.';
        std::memcpy(buf + at, digits + n - places, places);
        at += places;
    }
    return at;
}

}  // namespace

bool FormatNumberInto(double value, int width, int decimals, char* out) {
    if (!std::isfinite(value) || width <= 0) return false;
    if (value == 0) value = 0;  // no "-0.00"
    char buf[400];
    for (int d = decimals; d >= 0; --d) {
        size_t n = FixedByIntegers(value, d, buf);
        if (n == 0) {
            // to_chars gives the exact decimal expansion rounded as printf's
            // "%.*f" does.
            const auto [end, ec] =
                std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, d);
            if (ec != std::errc()) continue;
            n = static_cast<size_t>(end - buf);
        }
        if (n > static_cast<size_t>(width)) continue;
        const size_t pad = static_cast<size_t>(width) - n;
        std::memset(out, ' ', pad);
        std::memcpy(out + pad, buf, n);
        return true;
    }
    return false;
}

std::optional<std::string> FormatNumberField(double value, int width, int decimals) {
    if (width <= 0 || width > 400) return std::nullopt;
    std::string out(static_cast<size_t>(width), ' ');
    if (!FormatNumberInto(value, width, decimals, out.data())) return std::nullopt;
    return out;
}

Status EncodeField(const FieldLayout& f, const Value& v, char* record, CodePage page,
                   MemoFile* memo) {
    char* p = record + f.offset;
    const auto put = [&](std::string_view bytes) {
        std::memset(p, ' ', static_cast<size_t>(f.length));
        std::memcpy(p, bytes.data(), std::min(bytes.size(), static_cast<size_t>(f.length)));
        return Status::Ok();
    };
    switch (f.type) {
        case FieldType::kChar: {
            if (v.isNull()) return put("");
            if (!v.isText()) return WrongKind(f);
            // Encoded beside the record first: a text too long leaves the
            // field as it was.
            char bytes[256];
            const auto length = static_cast<size_t>(f.length);
            if (length > sizeof bytes) {
                const std::string encoded = EncodeFromUtf8(v.asText(), page);
                if (encoded.size() > length) return TooLong(f);
                return put(encoded);
            }
            const size_t n = EncodeFromUtf8(v.asText(), page, bytes, length);
            if (n > length) return TooLong(f);
            return put(std::string_view(bytes, n));
        }
        case FieldType::kNumeric:
        case FieldType::kFloat: {
            if (v.isNull()) return put("");
            std::optional<double> number;
            if (v.isNumber() || v.isBool()) number = v.asDouble();
            if (v.isText()) number = ParseNumber(v.asText());
            if (!number) return WrongKind(f);
            char text[400];
            if (f.length > static_cast<int>(sizeof text) ||
                !FormatNumberInto(*number, f.length, f.decimals, text)) {
                return TooLong(f);
            }
            std::memcpy(p, text, static_cast<size_t>(f.length));
            return Status::Ok();
        }
        case FieldType::kInteger: {
            const double d = v.isNull() ? 0.0 : v.asDouble();
            if (!v.isNull() && !v.isNumber()) return WrongKind(f);
            if (d != std::floor(d) || d < INT32_MIN || d > INT32_MAX) return TooLong(f);
            const auto u = static_cast<uint32_t>(static_cast<int32_t>(d));
            for (int i = 0; i < 4; ++i)
                p[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
            return Status::Ok();
        }
        case FieldType::kDate:
            if (v.isNull()) return put("");
            if (!v.isDate()) return WrongKind(f);
            return put(v.asDate().toDbf());
        case FieldType::kLogical:
            if (v.isNull()) return put(" ");
            if (!v.isBool()) return WrongKind(f);
            return put(v.asBool() ? "T" : "F");
        case FieldType::kMemo:
        case FieldType::kBlob: {
            if (v.isNull() || (v.isText() && v.asText().empty())) return put("");
            if (!v.isText()) return WrongKind(f);
            if (!memo)
                return Status::Invalid("Tabulka nemá soubor poznámek pro pole \"" + f.name + "\".");
            const std::string data =
                f.type == FieldType::kMemo ? EncodeFromUtf8(v.asText(), page) : v.asText();
            uint32_t block = 0;
            KOLVIO_RETURN_IF_ERROR(memo->write(data, &block));
            char digits[16];
            std::snprintf(digits, sizeof digits, "%10u", block);
            return put(digits);
        }
    }
    return WrongKind(f);
}

}  // namespace kolvio
