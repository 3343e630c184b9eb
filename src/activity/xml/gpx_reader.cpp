// GPX 1.0 and 1.1.
//
//   gpx/trk*/trkseg*/trkpt (lat, lon attributes):
//     ele, time, speed (GPX 1.0 only),
//     extensions/TrackPointExtension (Garmin v1 or v2): hr, cad, speed (v2)
//     extensions/PowerInWatts (Garmin's PowerExtension) or extensions/power
//     (Strava's, unprefixed: in the document's namespace or none)
#include <cmath>
#include <memory>
#include <string>

#include "activity/xml/xml_support.h"

namespace kolvio::activity::xml {

namespace {

constexpr std::string_view kGpx10 = "http://www.topografix.com/GPX/1/0";
constexpr std::string_view kTrackPointV1 =
    "http://www.garmin.com/xmlschemas/TrackPointExtension/v1";
constexpr std::string_view kTrackPointV2 =
    "http://www.garmin.com/xmlschemas/TrackPointExtension/v2";
constexpr std::string_view kPower = "http://www.garmin.com/xmlschemas/PowerExtension/v1";

// Where an open element stands; the values (kElevation and on) are the
// elements whose text is read.
enum Gpx : State {
    kRoot = kDocument + 1,
    kTrack,
    kSegment,
    kPoint,
    kExtensions,
    kTrackPointV1Extension,
    kTrackPointV2Extension,
    kElevation,
    kTime,
    kSpeed,
    kHeartRate,
    kCadence,
    kPowerValue,
};

class GpxReader : public ElementReader {
public:
    GpxReader(SampleSink& sink, std::string_view ns) : sink_(sink), ns_(ns), v10_(ns == kGpx10) {}

    State enter(State parent, const Element& e) override {
        const State state = ChildOf(parent, e);
        if (state == kPoint) {
            point_ = Sample();
            point_.latitude = NumberAttribute(e, "lat");
            point_.longitude = NumberAttribute(e, "lon");
            if (!(std::fabs(point_.latitude) <= 90 && std::fabs(point_.longitude) <= 180)) {
                point_.latitude = point_.longitude = kAbsent;
            }
        }
        return state;
    }

    bool readsText(State state) const override { return state >= kElevation; }

    void leave(State state, std::string_view text) override {
        switch (state) {
            case kPoint:
                sink_.add(point_);
                break;
            case kElevation:
                point_.altitude = NumberOf(text);
                break;
            case kTime:
                point_.time = TimeOf(text);
                break;
            case kSpeed:
                point_.speed = NumberOf(text);
                break;
            case kHeartRate:
                point_.heartRate = NumberOf(text);
                break;
            case kCadence:
                point_.cadence = NumberOf(text);
                break;
            case kPowerValue:
                point_.power = NumberOf(text);
                break;
            default:
                break;
        }
    }

    bool stopped() const override { return sink_.full(); }

private:
    State ChildOf(State parent, const Element& e) const {
        const bool gpx = e.ns == ns_;
        switch (parent) {
            case kDocument:
                return kRoot;  // the caller has checked the root
            case kRoot:
                return gpx && e.name == "trk" ? kTrack : kSkip;
            case kTrack:
                return gpx && e.name == "trkseg" ? kSegment : kSkip;
            case kSegment:
                return gpx && e.name == "trkpt" ? kPoint : kSkip;
            case kPoint:
                if (!gpx) return kSkip;
                return e.name == "ele"             ? kElevation
                       : e.name == "time"          ? kTime
                       : v10_ && e.name == "speed" ? kSpeed
                       : e.name == "extensions"    ? kExtensions
                                                   : kSkip;
            case kExtensions:
                if (e.is(kTrackPointV1, "TrackPointExtension")) return kTrackPointV1Extension;
                if (e.is(kTrackPointV2, "TrackPointExtension")) return kTrackPointV2Extension;
                if (e.is(kPower, "PowerInWatts") || (e.name == "power" && (gpx || e.ns.empty()))) {
                    return kPowerValue;
                }
                return kSkip;
            case kTrackPointV1Extension:
                return InTrackPointExtension(e, kTrackPointV1, false);
            case kTrackPointV2Extension:
                return InTrackPointExtension(e, kTrackPointV2, true);
            default:
                return kSkip;
        }
    }

    static State InTrackPointExtension(const Element& e, std::string_view ns, bool v2) {
        if (e.ns != ns) return kSkip;
        return e.name == "hr"            ? kHeartRate
               : e.name == "cad"         ? kCadence
               : v2 && e.name == "speed" ? kSpeed
                                         : kSkip;
    }

    SampleSink& sink_;
    const std::string ns_;  // the document's: GPX 1.1, 1.0 or none
    const bool v10_;
    Sample point_;
};

}  // namespace

std::unique_ptr<ElementReader> MakeGpxReader(SampleSink& sink, std::string_view gpxNamespace) {
    return std::make_unique<GpxReader>(sink, gpxNamespace);
}

}  // namespace kolvio::activity::xml
