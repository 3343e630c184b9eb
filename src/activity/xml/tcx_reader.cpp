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

#include "activity/time_text.h"
#include "activity/xml/xml_support.h"

namespace kolvio::activity::xml {

namespace {

constexpr QStringView kTcx = u"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2";
constexpr QStringView kExtension = u"http://www.garmin.com/xmlschemas/ActivityExtension/v2";

bool IsTcx(const QXmlStreamReader& xml, QStringView name) {
    return Is(xml, kTcx, name);
}

// The number in the Value child of the current element (heart rates).
double ValueChild(QXmlStreamReader& xml) {
    double value = kAbsent;
    while (xml.readNextStartElement()) {
        if (IsTcx(xml, u"Value")) {
            value = NumberOf(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
    return value;
}

void ReadPosition(QXmlStreamReader& xml, Sample& s) {
    while (xml.readNextStartElement()) {
        if (IsTcx(xml, u"LatitudeDegrees")) {
            s.latitude = NumberOf(xml);
        } else if (IsTcx(xml, u"LongitudeDegrees")) {
            s.longitude = NumberOf(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!(std::fabs(s.latitude) <= 90 && std::fabs(s.longitude) <= 180)) {
        s.latitude = s.longitude = kAbsent;
    }
}

void ReadExtensions(QXmlStreamReader& xml, Sample& s) {
    while (xml.readNextStartElement()) {
        if (!Is(xml, kExtension, u"TPX")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (Is(xml, kExtension, u"Speed")) {
                s.speed = NumberOf(xml);
            } else if (Is(xml, kExtension, u"Watts")) {
                s.power = NumberOf(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
}

Sample ReadTrackpoint(QXmlStreamReader& xml) {
    Sample s;
    while (xml.readNextStartElement()) {
        if (IsTcx(xml, u"Time")) {
            s.time = TimeOf(xml);
        } else if (IsTcx(xml, u"Position")) {
            ReadPosition(xml, s);
        } else if (IsTcx(xml, u"AltitudeMeters")) {
            s.altitude = NumberOf(xml);
        } else if (IsTcx(xml, u"DistanceMeters")) {
            s.distance = NumberOf(xml);
        } else if (IsTcx(xml, u"HeartRateBpm")) {
            s.heartRate = ValueChild(xml);
        } else if (IsTcx(xml, u"Cadence")) {
            s.cadence = NumberOf(xml);
        } else if (IsTcx(xml, u"Extensions")) {
            ReadExtensions(xml, s);
        } else {
            xml.skipCurrentElement();
        }
    }
    return s;
}

void ReadTrack(QXmlStreamReader& xml, SampleSink& sink) {
    while (xml.readNextStartElement()) {
        if (IsTcx(xml, u"Trackpoint")) {
            if (!sink.add(ReadTrackpoint(xml))) return;
        } else {
            xml.skipCurrentElement();
        }
    }
}

// Sums the laps' figures into the device's totals.
class LapTotals {
public:
    void read(QXmlStreamReader& xml, SampleSink& sink) {
        double seconds = kAbsent, averageHeartRate = kAbsent;
        while (!sink.full() && xml.readNextStartElement()) {
            if (IsTcx(xml, u"TotalTimeSeconds")) {
                seconds = NumberOf(xml);
                Add(totals_.timerTime, seconds);
            } else if (IsTcx(xml, u"DistanceMeters")) {
                Add(totals_.distance, NumberOf(xml));
            } else if (IsTcx(xml, u"MaximumSpeed")) {
                Max(totals_.maxSpeed, NumberOf(xml));
            } else if (IsTcx(xml, u"Calories")) {
                Add(totals_.energy, NumberOf(xml));
            } else if (IsTcx(xml, u"AverageHeartRateBpm")) {
                averageHeartRate = ValueChild(xml);
            } else if (IsTcx(xml, u"MaximumHeartRateBpm")) {
                Max(totals_.maxHeartRate, ValueChild(xml));
            } else if (IsTcx(xml, u"Track")) {
                ReadTrack(xml, sink);
            } else {
                xml.skipCurrentElement();
            }
        }
        if (Has(averageHeartRate)) {  // weighted by the lap's time when known
            const double weight = Has(seconds) && seconds > 0 ? seconds : 1;
            heartRateSum_ += averageHeartRate * weight;
            heartRateWeight_ += weight;
            totals_.averageHeartRate = heartRateSum_ / heartRateWeight_;
        }
    }
    const DeviceTotals& totals() const { return totals_; }

private:
    static void Add(double& sum, double v) {
        if (Has(v)) sum = Has(sum) ? sum + v : v;
    }
    static void Max(double& max, double v) {
        if (Has(v)) max = Has(max) ? std::max(max, v) : v;
    }

    DeviceTotals totals_;
    double heartRateSum_ = 0;
    double heartRateWeight_ = 0;
};

// An Activity or a Course: its laps and tracks, joined.
void ReadActivity(QXmlStreamReader& xml, SampleSink& sink) {
    Activity& activity = sink.activity();
    LapTotals laps;
    while (!sink.full() && xml.readNextStartElement()) {
        if (IsTcx(xml, u"Id")) {
            const double id = TimeOf(xml);  // an Activity's Id is its start time
            if (Has(id)) activity.startTime = id;
        } else if (IsTcx(xml, u"Lap")) {
            if (!Has(activity.startTime)) {  // a course has no Id: its first lap's start
                const QString start =
                    xml.attributes().value(QLatin1StringView("StartTime")).toString();
                activity.startTime = ParseXmlTime(start.toStdString()).value_or(kAbsent);
            }
            laps.read(xml, sink);
        } else if (IsTcx(xml, u"Track")) {
            ReadTrack(xml, sink);
        } else {
            xml.skipCurrentElement();
        }
    }
    activity.totals = laps.totals();
}

}  // namespace

int ReadTcx(QXmlStreamReader& xml, SampleSink& sink) {
    int count = 0;
    while (!sink.full() && xml.readNextStartElement()) {
        const bool activities = IsTcx(xml, u"Activities");
        if (!activities && !IsTcx(xml, u"Courses")) {
            xml.skipCurrentElement();
            continue;
        }
        const QStringView one = activities ? u"Activity" : u"Course";
        while (!sink.full() && xml.readNextStartElement()) {
            if (IsTcx(xml, one) && count++ == 0) {
                ReadActivity(xml, sink);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    return count;
}

}  // namespace kolvio::activity::xml
