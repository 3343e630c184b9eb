// Speed of reading a ride from a device's file and working out its figures.
//
//   build/bench/bench_activity [WORKDIR] [RUNS]
//
// WORKDIR (default: a fresh folder under /tmp) receives a 10-hour ride with
// one sample a second (36,000 records: position, altitude, distance, speed,
// heart rate, cadence, power) written as FIT by the tests' writer, and the
// same ride as GPX. Measures, with the files in the page cache, the median
// of RUNS runs (default 50):
//   fit      LoadRideFigures on the FIT file: read, decode, work out the
//            figures (goal: under 20 ms per file);
//   decode   the FIT bytes already in memory, decoded only;
//   figures  the figures of the decoded activity only;
//   gpx      LoadRideFigures on the GPX file, for comparison;
//   read     the peer: reading the FIT file's bytes and nothing else.
// The figures of the ride are printed so that a change of a rule shows.
#include <time.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "activity/activity_file.h"
#include "activity/fit_reader.h"
#include "bench_util.h"
#include "fit_writer.h"
#include "ten_hour_ride.h"

namespace {

using namespace kolvio::activity;
using kolvio::bench::Median;
using kolvio::bench::TenHourRide;

// Wall-clock and processor time of one run, in milliseconds. The processor
// time is the figure to trust on a busy machine.
struct Timing {
    std::vector<double> wall, cpu;
    void run(const std::function<void()>& work) {
        timespec a, b;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
        wall.push_back(kolvio::bench::TimeMs(work));
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
        cpu.push_back((b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6);
    }
    void print(const char* label, const char* note) const {
        std::printf("%-8s %7.2f ms wall  %7.2f ms cpu  %s\n", label, Median(wall), Median(cpu),
                    note);
    }
};

std::string Gpx(const Activity& a) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\""
           " xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/"
           "v1\"><trk><trkseg>\n";
    char line[512];
    for (const Sample& s : a.samples) {
        const auto t = static_cast<long long>(s.time - 1686355200);  // from 2023-06-10 00:00 UTC
        std::snprintf(
            line, sizeof line,
            "<trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>2023-06-10T%02lld:%02lld:"
            "%02lldZ</time><extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>%.0f"
            "</gpxtpx:hr><gpxtpx:cad>%.0f</gpxtpx:cad></gpxtpx:TrackPointExtension>"
            "</extensions></trkpt>\n",
            s.latitude, s.longitude, s.altitude, t / 3600, t / 60 % 60, t % 60, s.heartRate,
            s.cadence);
        out << line;
    }
    out << "</trkseg></trk></gpx>\n";
    return out.str();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Print(const char* label, const LoadedRide& ride) {
    if (!ride.ok()) {
        std::fprintf(stderr, "%s\n", ride.error.c_str());
        std::exit(1);
    }
    const RideFigures& f = ride.figures;
    std::printf(
        "%-4s %04d-%02d-%02d  %.3f km  %.4f h  max %.2f km/h  avg %.2f km/h  HR avg %.1f max %.0f"
        "  above 150: %.4f h (%.1f %%)  %s kcal\n",
        label, f.date.year, f.date.month, f.date.day, f.distanceKm, f.ridingHours, f.maxSpeedKmh,
        f.averageSpeedKmh, f.averageHeartRate, f.maxHeartRate, f.overLimitHours, f.overLimitPercent,
        f.energyKcal ? std::to_string(static_cast<int>(*f.energyKcal)).c_str() : "-");
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "";
    if (dir.empty()) {
        char pattern[] = "/tmp/kolvio-bench-activity-XXXXXX";
        dir = mkdtemp(pattern);
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
    const Activity ride = TenHourRide();
    const std::string fit = dir + "/ride.fit", gpx = dir + "/ride.gpx";
    std::ofstream(fit, std::ios::binary) << kolvio::activity::testing::WriteFitActivity(ride);
    std::ofstream(gpx) << Gpx(ride);
    std::printf("10-hour ride: %zu records, FIT %.0f kB, GPX %.0f kB, %d runs each (median)\n",
                ride.samples.size(), std::filesystem::file_size(fit) / 1024.0,
                std::filesystem::file_size(gpx) / 1024.0, runs);

    const std::string bytes = ReadAll(fit);
    const Activity decoded = ReadFit(bytes, fit).activity;
    Timing load, decode, figures, xml, read;
    for (int i = 0; i < runs; ++i) {
        load.run([&] { (void)LoadRideFigures(fit, 150); });
        decode.run([&] { (void)ReadFit(bytes, fit); });
        figures.run([&] { (void)WorkOutRideFigures(decoded, 150, fit); });
        read.run([&] { (void)ReadAll(fit); });
        if (i < 5) xml.run([&] { (void)LoadRideFigures(gpx, 150); });
    }
    load.print("fit", "(goal: under 20 ms)");
    decode.print("decode", "");
    figures.print("figures", "");
    xml.print("gpx", "(5 runs)");
    read.print("read", "(peer: the file's bytes only)");
    std::printf("fit / read = %.1f (processor time)\n", Median(load.cpu) / Median(read.cpu));
    Print("FIT", LoadRideFigures(fit, 150));
    Print("GPX", LoadRideFigures(gpx, 150));
    return 0;
}
