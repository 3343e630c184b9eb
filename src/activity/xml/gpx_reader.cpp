// GPX 1.0 and 1.1.
//
//   gpx/trk*/trkseg*/trkpt (lat, lon attributes):
//     ele, time, speed (GPX 1.0 only),
//     extensions/TrackPointExtension (Garmin v1 or v2): hr, cad, speed (v2)
//     extensions/PowerInWatts (Garmin's PowerExtension) or extensions/power
//     (Strava's, unprefixed: in the document's namespace or none)
#include <cmath>

#include "activity/xml/xml_support.h"

namespace kolvio::activity::xml {

namespace {

constexpr QStringView kTrackPointV1 = u"http://www.garmin.com/xmlschemas/TrackPointExtension/v1";
constexpr QStringView kTrackPointV2 = u"http://www.garmin.com/xmlschemas/TrackPointExtension/v2";
constexpr QStringView kPower = u"http://www.garmin.com/xmlschemas/PowerExtension/v1";

bool IsTrackPointExtension(const QXmlStreamReader& xml) {
    const QStringView ns = xml.namespaceUri();
    return (ns == kTrackPointV1 || ns == kTrackPointV2) && xml.name() == u"TrackPointExtension";
}

void ReadTrackPointExtension(QXmlStreamReader& xml, Sample& s) {
    const QStringView ns = xml.namespaceUri();
    const bool v2 = ns == kTrackPointV2;
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() != ns) {
            xml.skipCurrentElement();
        } else if (xml.name() == u"hr") {
            s.heartRate = NumberOf(xml);
        } else if (xml.name() == u"cad") {
            s.cadence = NumberOf(xml);
        } else if (v2 && xml.name() == u"speed") {
            s.speed = NumberOf(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
}

// `gpx` is the document's namespace, which an unprefixed "power" element
// written into the extensions takes on.
void ReadExtensions(QXmlStreamReader& xml, Sample& s, QStringView gpx) {
    while (xml.readNextStartElement()) {
        if (IsTrackPointExtension(xml)) {
            ReadTrackPointExtension(xml, s);
        } else if (Is(xml, kPower, u"PowerInWatts") || Is(xml, gpx, u"power") ||
                   Is(xml, u"", u"power")) {
            s.power = NumberOf(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
}

class GpxReader {
public:
    GpxReader(QXmlStreamReader& xml, SampleSink& sink, QStringView ns)
        : xml_(xml), sink_(sink), ns_(ns), v10_(ns == u"http://www.topografix.com/GPX/1/0") {}

    void read() {
        while (!sink_.full() && xml_.readNextStartElement()) {
            if (isGpx(u"trk")) {
                readTrack();
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

private:
    bool isGpx(QStringView name) const { return Is(xml_, ns_, name); }

    void readTrack() {
        while (!sink_.full() && xml_.readNextStartElement()) {
            if (isGpx(u"trkseg")) {
                readSegment();
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    void readSegment() {
        while (!sink_.full() && xml_.readNextStartElement()) {
            if (isGpx(u"trkpt")) {
                if (!sink_.add(readPoint())) return;
            } else {
                xml_.skipCurrentElement();
            }
        }
    }

    Sample readPoint() {
        Sample s;
        s.latitude = NumberAttribute(xml_, QLatin1StringView("lat"));
        s.longitude = NumberAttribute(xml_, QLatin1StringView("lon"));
        if (!(std::fabs(s.latitude) <= 90 && std::fabs(s.longitude) <= 180)) {
            s.latitude = s.longitude = kAbsent;
        }
        while (xml_.readNextStartElement()) {
            if (isGpx(u"ele")) {
                s.altitude = NumberOf(xml_);
            } else if (isGpx(u"time")) {
                s.time = TimeOf(xml_);
            } else if (v10_ && isGpx(u"speed")) {
                s.speed = NumberOf(xml_);
            } else if (isGpx(u"extensions")) {
                ReadExtensions(xml_, s, ns_);
            } else {
                xml_.skipCurrentElement();
            }
        }
        return s;
    }

    QXmlStreamReader& xml_;
    SampleSink& sink_;
    QStringView ns_;
    bool v10_;
};

}  // namespace

void ReadGpx(QXmlStreamReader& xml, SampleSink& sink, QStringView gpxNamespace) {
    GpxReader(xml, sink, gpxNamespace).read();
    Activity& activity = sink.activity();
    activity.startTime = EarliestSampleTime(activity.samples);
}

}  // namespace kolvio::activity::xml
