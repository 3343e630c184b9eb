#include "activity/fit_reader.h"

#include <algorithm>
#include <cmath>

#include "activity/activity_messages.h"
#include "activity/fit_decoder.h"

namespace kolvio::activity {

namespace {

// Global message numbers and field numbers of the published FIT profile.
enum Message : uint16_t { kSession = 18, kLap = 19, kRecord = 20, kEvent = 21 };
constexpr uint16_t kWanted[] = {kSession, kLap, kRecord, kEvent};

constexpr double kDegreesPerSemicircle = 180.0 / 2147483648.0;

double FitTime(double fitSeconds) {
    return fitSeconds + fit::kEpochOffset;
}

// Fills a sample from a record message; false when it holds nothing but a time.
bool ReadRecord(const fit::DataMessage& m, Sample& s) {
    double altitude = kAbsent, enhancedAltitude = kAbsent;
    double speed = kAbsent, enhancedSpeed = kAbsent;
    double latitude = kAbsent, longitude = kAbsent;
    bool any = false;
    for (const fit::FieldDefinition& field : m.fields()) {
        const auto value = m.value(field);
        if (!value) continue;
        const double v = *value;
        switch (field.number) {
            case 0:
                latitude = v * kDegreesPerSemicircle;
                break;
            case 1:
                longitude = v * kDegreesPerSemicircle;
                break;
            case 2:
                altitude = v / 5 - 500;
                break;
            case 3:
                s.heartRate = v > 0 ? v : kAbsent;
                break;
            case 4:
                s.cadence = v;
                break;
            case 5:
                s.distance = v / 100;
                break;
            case 6:
                speed = v / 1000;
                break;
            case 7:
                s.power = v;
                break;
            case 73:
                enhancedSpeed = v / 1000;
                break;
            case 78:
                enhancedAltitude = v / 5 - 500;
                break;
            default:
                continue;  // the timestamp and fields we do not use
        }
        any = true;
    }
    if (std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180) {
        s.latitude = latitude;
        s.longitude = longitude;
    }
    s.altitude = Has(enhancedAltitude) ? enhancedAltitude : altitude;
    s.speed = Has(enhancedSpeed) ? enhancedSpeed : speed;
    if (const auto t = m.timestamp()) s.time = FitTime(*t);
    return any;
}

// Event 0 is the timer; its types start (0), stop (1), stop all (4), stop
// disable (8) and stop disable all (9) switch it.
void ReadEvent(const fit::DataMessage& m, std::vector<TimerEvent>& events) {
    std::optional<double> event, type;
    for (const fit::FieldDefinition& field : m.fields()) {
        if (field.number == 0) event = m.value(field);
        if (field.number == 1) type = m.value(field);
    }
    const auto time = m.timestamp();
    if (!time || event != 0.0 || !type) return;
    const double t = *type;
    if (t == 0) events.push_back({FitTime(*time), true});
    if (t == 1 || t == 4 || t == 8 || t == 9) events.push_back({FitTime(*time), false});
}

// The sum of the totals of the session (or lap) messages.
class TotalsSum {
public:
    // Field numbers differ between the two messages.
    struct Fields {
        uint8_t maxSpeed, enhancedMaxSpeed, averageHeartRate, maxHeartRate;
    };
    static constexpr Fields kSessionFields{15, 125, 16, 17};
    static constexpr Fields kLapFields{14, 111, 15, 16};

    void add(const fit::DataMessage& m, const Fields& numbers) {
        seen_ = true;
        double timer = kAbsent, averageHeartRate = kAbsent, maxSpeed = kAbsent;
        double enhancedMaxSpeed = kAbsent;
        for (const fit::FieldDefinition& field : m.fields()) {
            const auto value = m.value(field);
            if (!value) continue;
            const double v = *value;
            const uint8_t n = field.number;
            if (n == 2 && v >= 0 && v <= 0xFFFFFFFF) {
                start_ = Has(start_) ? std::min(start_, FitTime(v)) : FitTime(v);
            }
            if (n == 7) Add(totals_.elapsedTime, v / 1000);
            if (n == 8) Add(totals_.timerTime, timer = v / 1000);
            if (n == 9) Add(totals_.distance, v / 100);
            if (n == 11) Add(totals_.energy, v);
            if (n == numbers.maxSpeed) maxSpeed = v / 1000;
            if (n == numbers.enhancedMaxSpeed) enhancedMaxSpeed = v / 1000;
            if (n == numbers.averageHeartRate) averageHeartRate = v;
            if (n == numbers.maxHeartRate) Max(totals_.maxHeartRate, v);
        }
        Max(totals_.maxSpeed, Has(enhancedMaxSpeed) ? enhancedMaxSpeed : maxSpeed);
        if (Has(averageHeartRate)) {  // weighted by the timer time when known
            const double weight = Has(timer) && timer > 0 ? timer : 1;
            heartRateSum_ += averageHeartRate * weight;
            heartRateWeight_ += weight;
            totals_.averageHeartRate = heartRateSum_ / heartRateWeight_;
        }
    }

    bool seen() const { return seen_; }
    const DeviceTotals& totals() const { return totals_; }
    double start() const { return start_; }

private:
    static void Add(double& sum, double v) { sum = Has(sum) ? sum + v : v; }
    static void Max(double& max, double v) {
        if (Has(v)) max = Has(max) ? std::max(max, v) : v;
    }

    bool seen_ = false;
    DeviceTotals totals_;
    double start_ = kAbsent;
    double heartRateSum_ = 0;
    double heartRateWeight_ = 0;
};

}  // namespace

ActivityResult ReadFit(std::string_view bytes, const std::string& file) {
    ActivityResult result;
    Activity& activity = result.activity;
    activity.format = ActivityFormat::kFit;
    TotalsSum sessions, laps;
    bool tooMany = false;

    const fit::DecodeReport report = fit::Decode(bytes, kWanted, [&](const fit::DataMessage& m) {
        switch (m.global()) {
            case kRecord: {
                Sample sample;
                if (!ReadRecord(m, sample)) break;
                if (activity.samples.size() == kMaxSamples) {
                    tooMany = true;
                    return false;
                }
                activity.samples.push_back(sample);
                break;
            }
            case kEvent:
                ReadEvent(m, activity.timerEvents);
                break;
            case kSession:
                sessions.add(m, TotalsSum::kSessionFields);
                break;
            case kLap:
                laps.add(m, TotalsSum::kLapFields);
                break;
            default:
                break;
        }
        return true;
    });

    if (tooMany) {
        result.error = msg::TooManySamples(file);
        return result;
    }
    if (!report.isFit || (report.damage != fit::Damage::kNone && activity.samples.empty())) {
        result.error = msg::BrokenFit(file);
        return result;
    }
    if (report.damage != fit::Damage::kNone) {
        result.damaged = true;
        result.warnings.push_back(report.damage == fit::Damage::kBadFileCrc
                                      ? msg::BadChecksum(file)
                                      : msg::DamagedKeptPart(file));
    }
    const TotalsSum& totals = sessions.seen() ? sessions : laps;
    activity.totals = totals.totals();
    activity.startTime = totals.start();
    if (!Has(activity.startTime)) activity.startTime = EarliestSampleTime(activity.samples);
    return result;
}

}  // namespace kolvio::activity
