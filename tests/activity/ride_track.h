// Ride files for the tests of the screens and of kolvio-db: a ride at an
// even speed along the parallel 0.01° N, one sample a second, written as GPX
// and converted by Debian's gpsbabel into TCX or FIT as a device would write
// them.
//
// Figures by hand: the distance is speed × seconds (to the metre: the
// positions carry 7 decimals of a degree), the riding time the whole track,
// the maximum speed the even speed, the heart rate the one given.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kolvio::testing {

struct TrackSpec {
    int day = 12;                // of June 2024; the ride starts at 08:00 UTC
    int seconds = 3600;          // riding time
    double metresPerSecond = 8;  // 28.8 km/h
    int heartRate = 0;           // 0: no heart rate in the file
};

inline constexpr double kMetresPerDegree = 111319.4908;  // of the parallel 0.01° N

inline std::string TrackGpx(const TrackSpec& spec) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"kolvio test\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\""
           " xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
           "<trk><name>test</name><trkseg>\n";
    for (int t = 0; t <= spec.seconds; ++t) {
        const int s = 8 * 3600 + t;
        char point[200];
        std::snprintf(point, sizeof point,
                      "<trkpt lat=\"0.0100000\" lon=\"%.7f\"><ele>200</ele>"
                      "<time>2024-06-%02dT%02d:%02d:%02dZ</time>",
                      14 + spec.metresPerSecond * t / kMetresPerDegree, spec.day + s / 86400,
                      s % 86400 / 3600, s / 60 % 60, s % 60);
        out << point;
        if (spec.heartRate > 0) {
            out << "<extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>" << spec.heartRate
                << "</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions>";
        }
        out << "</trkpt>\n";
    }
    out << "</trkseg></trk></gpx>\n";
    return out.str();
}

inline void WriteTrackGpx(const std::string& path, const TrackSpec& spec) {
    std::ofstream(path) << TrackGpx(spec);
}

inline bool HaveGpsbabel() {
    return std::system("command -v gpsbabel >/dev/null 2>&1") == 0;
}

// Converts `gpx` with gpsbabel into `out`: `format` "gtrnctr" (TCX, with the
// heart rate) or "garmin_fit" (FIT; gpsbabel writes a course, without it).
inline bool ConvertTrack(const std::string& gpx, const char* format, const std::string& out) {
    const std::string command = std::string("gpsbabel -i gpx -f '") + gpx + "' -o " + format +
                                " -F '" + out + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace kolvio::testing
