// TCX (Garmin's Training Center Database, version 2).
//
//   TrainingCenterDatabase
//     Activities/Activity: Id (start time), Lap* (StartTime attribute)
//     Courses/Course:      Lap* (totals only), Track*
//   Lap: TotalTimeSeconds, DistanceMeters, MaximumSpeed, Calories,
//        AverageHeartRateBpm/Value, MaximumHeartRateBpm/Value, Track*
//   Track/Trackpoint: Time, Position/LatitudeDegrees|LongitudeDegrees,
//        AltitudeMeters, DistanceMeters, HeartRateBpm/Value, Cadence,
//        Extensions/TPX/Speed|Watts (the ActivityExtension namespace)
#include <algorithm>
#include <cmath>
#include <memory>

#include "activity/time_text.h"
#include "activity/xml/xml_support.h"

namespace kolvio::activity::xml {

namespace {

constexpr std::string_view kTcx = "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";
constexpr std::string_view kExtension = "http://www.garmin.com/xmlschemas/ActivityExtension/v2";

// Where an open element stands in the document; the values (kId and
// on) are the elements whose text is read.
enum Tcx : State {
    kRoot = kDocument + 1,
    kActivities,  // or Courses
    kActivity,    // the first Activity or Course
    kLap,
    kAverageHeartRate,  // its Value child holds the figure
    kMaxHeartRate,
    kTrack,
    kTrackpoint,
    kPosition,
    kHeartRate,
    kExtensions,
    kTpx,
    kId,
    kLapSeconds,
    kLapDistance,
    kLapMaxSpeed,
    kLapEnergy,
    kHeartRateValue,  // the Value of the heart rate its parent stands for
    kTime,
    kLatitude,
    kLongitude,
    kAltitude,
    kDistance,
    kCadence,
    kSpeed,
    kPower,
};

void Add(double& sum, double v) {
    if (Has(v)) sum = Has(sum) ? sum + v : v;
}
void Max(double& max, double v) {
    if (Has(v)) max = Has(max) ? std::max(max, v) : v;
}

// Sums the laps' figures into the device's totals.
class LapTotals {
public:
    void start() { seconds_ = averageHeartRate_ = kAbsent; }
    void seconds(double v) {
        seconds_ = v;
        Add(totals.timerTime, v);
    }
    void averageHeartRate(double v) { averageHeartRate_ = v; }
    void end() {
        if (!Has(averageHeartRate_)) return;
        // weighted by the lap's time when known
        const double weight = Has(seconds_) && seconds_ > 0 ? seconds_ : 1;
        heartRateSum_ += averageHeartRate_ * weight;
        heartRateWeight_ += weight;
        totals.averageHeartRate = heartRateSum_ / heartRateWeight_;
    }

    DeviceTotals totals;

private:
    double seconds_ = kAbsent;  // of the open lap
    double averageHeartRate_ = kAbsent;
    double heartRateSum_ = 0;
    double heartRateWeight_ = 0;
};

class TcxReader : public ElementReader {
public:
    TcxReader(SampleSink& sink, int& activities) : sink_(sink), activities_(activities) {}

    State enter(State parent, const Element& e) override {
        const State state = ChildOf(parent, e);
        switch (state) {
            case kLap:  // a course has no Id: it starts with its first lap
                if (Activity& activity = sink_.activity(); !Has(activity.startTime)) {
                    const auto start = e.attribute("StartTime").value_or("");
                    activity.startTime = ParseXmlTime(start).value_or(kAbsent);
                }
                laps_.start();
                break;
            case kAverageHeartRate:
            case kMaxHeartRate:
            case kHeartRate:
                value_ = kAbsent;
                break;  // none without a Value
            case kTrackpoint:
                sample_ = Sample();
                break;
            default:
                break;
        }
        return state;
    }

    bool readsText(State state) const override { return state >= kId; }

    void leave(State state, std::string_view text) override {
        Activity& activity = sink_.activity();
        DeviceTotals& totals = laps_.totals;
        switch (state) {
            case kId:  // an Activity's Id is its start time
                if (const double id = TimeOf(text); Has(id)) activity.startTime = id;
                break;
            case kActivity:
                activity.totals = laps_.totals;
                break;
            case kLap:
                laps_.end();
                break;
            case kLapSeconds:
                laps_.seconds(NumberOf(text));
                break;
            case kLapDistance:
                Add(totals.distance, NumberOf(text));
                break;
            case kLapMaxSpeed:
                Max(totals.maxSpeed, NumberOf(text));
                break;
            case kLapEnergy:
                Add(totals.energy, NumberOf(text));
                break;
            case kHeartRateValue:
                value_ = NumberOf(text);
                break;
            case kAverageHeartRate:
                laps_.averageHeartRate(value_);
                break;
            case kMaxHeartRate:
                Max(totals.maxHeartRate, value_);
                break;
            case kHeartRate:
                sample_.heartRate = value_;
                break;
            case kTrackpoint:
                sink_.add(sample_);
                break;
            case kTime:
                sample_.time = TimeOf(text);
                break;
            case kPosition:
                if (!(std::fabs(sample_.latitude) <= 90 && std::fabs(sample_.longitude) <= 180)) {
                    sample_.latitude = sample_.longitude = kAbsent;
                }
                break;
            case kLatitude:
                sample_.latitude = NumberOf(text);
                break;
            case kLongitude:
                sample_.longitude = NumberOf(text);
                break;
            case kAltitude:
                sample_.altitude = NumberOf(text);
                break;
            case kDistance:
                sample_.distance = NumberOf(text);
                break;
            case kCadence:
                sample_.cadence = NumberOf(text);
                break;
            case kSpeed:
                sample_.speed = NumberOf(text);
                break;
            case kPower:
                sample_.power = NumberOf(text);
                break;
            default:
                break;
        }
    }

    bool stopped() const override { return sink_.full(); }

private:
    State ChildOf(State parent, const Element& e) {
        if (e.ns == kExtension)
            return parent == kExtensions && e.name == "TPX" ? kTpx
                   : parent == kTpx && e.name == "Speed"    ? kSpeed
                   : parent == kTpx && e.name == "Watts"    ? kPower
                                                            : kSkip;
        if (e.ns != kTcx) return kSkip;
        switch (parent) {
            case kDocument:
                return kRoot;  // the caller has checked the root
            case kRoot:
                if (e.name != "Activities" && e.name != "Courses") return kSkip;
                one_ = e.name == "Activities" ? "Activity" : "Course";
                return kActivities;
            case kActivities:
                if (e.name != one_ || activities_++ > 0) return kSkip;
                return kActivity;
            case kActivity:
                return InActivity(e.name);
            case kLap:
                return InLap(e.name);
            case kAverageHeartRate:
            case kMaxHeartRate:
            case kHeartRate:
                return e.name == "Value" ? kHeartRateValue : kSkip;
            case kTrack:
                return e.name == "Trackpoint" ? kTrackpoint : kSkip;
            case kTrackpoint:
                return InTrackpoint(e.name);
            case kPosition:
                return e.name == "LatitudeDegrees"    ? kLatitude
                       : e.name == "LongitudeDegrees" ? kLongitude
                                                      : kSkip;
            default:
                return kSkip;
        }
    }

    static State InActivity(std::string_view name) {
        return name == "Id" ? kId : name == "Lap" ? kLap : name == "Track" ? kTrack : kSkip;
    }

    static State InLap(std::string_view name) {
        return name == "TotalTimeSeconds"      ? kLapSeconds
               : name == "DistanceMeters"      ? kLapDistance
               : name == "MaximumSpeed"        ? kLapMaxSpeed
               : name == "Calories"            ? kLapEnergy
               : name == "AverageHeartRateBpm" ? kAverageHeartRate
               : name == "MaximumHeartRateBpm" ? kMaxHeartRate
               : name == "Track"               ? kTrack
                                               : kSkip;
    }

    static State InTrackpoint(std::string_view name) {
        return name == "Time"             ? kTime
               : name == "Position"       ? kPosition
               : name == "AltitudeMeters" ? kAltitude
               : name == "DistanceMeters" ? kDistance
               : name == "HeartRateBpm"   ? kHeartRate
               : name == "Cadence"        ? kCadence
               : name == "Extensions"     ? kExtensions
                                          : kSkip;
    }

    SampleSink& sink_;
    int& activities_;
    std::string_view one_;  // the element Activities or Courses holds
    LapTotals laps_;
    Sample sample_;
    double value_ = kAbsent;  // of the open heart rate's Value
};

}  // namespace

std::unique_ptr<ElementReader> MakeTcxReader(SampleSink& sink, int& activities) {
    return std::make_unique<TcxReader>(sink, activities);
}

}  // namespace kolvio::activity::xml
