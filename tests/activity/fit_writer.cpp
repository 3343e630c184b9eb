#include "fit_writer.h"

#include <cmath>
#include <optional>

#include "fit_builder.h"

namespace kolvio::activity::testing {

namespace {

enum Local : uint8_t { kFileId, kEvent, kRecord, kRecordNoTime, kLap, kSession };

constexpr uint64_t kInvalid8 = 0xFF, kInvalid16 = 0xFFFF, kInvalid32 = 0xFFFFFFFF;
constexpr uint64_t kInvalidSint32 = 0x7FFFFFFF;

uint32_t FitSeconds(double unixSeconds) {
    return static_cast<uint32_t>(std::llround(unixSeconds - fit::kEpochOffset));
}

uint64_t Scaled(double value, double scale, double offset, uint64_t invalid) {
    if (!Has(value)) return invalid;
    return static_cast<uint64_t>(std::llround((value + offset) * scale));
}

uint64_t Semicircles(double degrees) {
    if (!Has(degrees)) return kInvalidSint32;
    const auto v = static_cast<int32_t>(std::llround(degrees * 2147483648.0 / 180.0));
    return static_cast<uint32_t>(v);
}

std::vector<FieldSpec> RecordFields(bool withTime) {
    std::vector<FieldSpec> fields;
    if (withTime) fields.push_back({253, 4, kUint32});
    fields.insert(fields.end(), {{0, 4, kSint32},
                                 {1, 4, kSint32},
                                 {78, 4, kUint32},
                                 {3, 1, kUint8},
                                 {4, 1, kUint8},
                                 {5, 4, kUint32},
                                 {73, 4, kUint32},
                                 {7, 2, kUint16}});
    return fields;
}

std::vector<uint64_t> RecordValues(const Sample& s) {
    return {Semicircles(s.latitude),
            Semicircles(s.longitude),
            Scaled(s.altitude, 5, 500, kInvalid32),
            Scaled(s.heartRate, 1, 0, kInvalid8),
            Scaled(s.cadence, 1, 0, kInvalid8),
            Scaled(s.distance, 100, 0, kInvalid32),
            Scaled(s.speed, 1000, 0, kInvalid32),
            Scaled(s.power, 1, 0, kInvalid16)};
}

std::vector<uint64_t> TotalsValues(const Activity& a, uint32_t end) {
    const DeviceTotals& t = a.totals;
    return {end,
            Has(a.startTime) ? FitSeconds(a.startTime) : kInvalid32,
            Scaled(t.elapsedTime, 1000, 0, kInvalid32),
            Scaled(t.timerTime, 1000, 0, kInvalid32),
            Scaled(t.distance, 100, 0, kInvalid32),
            Scaled(t.energy, 1, 0, kInvalid16)};
}

}  // namespace

std::string WriteFitActivity(const Activity& activity, const FitWriteOptions& options) {
    const bool big = options.bigEndian;
    FitBuilder fit;
    const uint32_t start =
        FitSeconds(Has(activity.startTime) ? activity.startTime : fit::kEpochOffset);
    fit.define(kFileId, 0, {{0, 1, kEnum}, {1, 2, kUint16}, {4, 4, kUint32}}, big)
        .data(kFileId, {4, 255, start});
    fit.define(kEvent, 21, {{253, 4, kUint32}, {0, 1, kEnum}, {1, 1, kEnum}}, big);
    fit.define(kRecord, 20, RecordFields(true), big);
    fit.define(kRecordNoTime, 20, RecordFields(false), big);

    fit.data(kEvent, {start, 0, 0});  // timer start
    size_t nextEvent = 0;
    std::optional<uint32_t> last;
    uint32_t end = start;
    for (const Sample& s : activity.samples) {
        const uint32_t t = FitSeconds(s.time);
        for (; nextEvent < activity.timerEvents.size(); ++nextEvent) {
            const TimerEvent& e = activity.timerEvents[nextEvent];
            if (FitSeconds(e.time) > t) break;
            fit.data(kEvent, {FitSeconds(e.time), 0, e.running ? 0u : 1u});
            last = FitSeconds(e.time);
        }
        std::vector<uint64_t> values = RecordValues(s);
        if (options.compressedTimestamps && last && t >= *last && t - *last < 32) {
            fit.compressed(kRecordNoTime, t & 0x1F, values);
        } else {
            values.insert(values.begin(), t);
            fit.data(kRecord, values);
        }
        last = end = t;
    }
    fit.data(kEvent, {end, 0, 4});  // timer stop all

    const std::vector<FieldSpec> totals = {{253, 4, kUint32}, {2, 4, kUint32}, {7, 4, kUint32},
                                           {8, 4, kUint32},   {9, 4, kUint32}, {11, 2, kUint16}};
    fit.define(kLap, 19, totals, big).data(kLap, TotalsValues(activity, end));
    fit.define(kSession, 18, totals, big).data(kSession, TotalsValues(activity, end));
    return fit.file();
}

}  // namespace kolvio::activity::testing
