// The ride of the activity benchmarks: ten hours of records, one a second.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "activity/activity.h"

namespace kolvio::bench {

using activity::Activity;
using activity::Sample;

inline constexpr size_t kRecords = 10 * 3600;  // recorded seconds; the lunch comes on top

// A ride through hilly country: speed and heart rate wander, a few stops at
// crossings and a half-hour lunch with the timer stopped (and nothing
// recorded), ten hours of records in all. The default start is 2023-06-10
// 06:00:00 UTC.
inline Activity TenHourRide(double startTime = 1686376800) {
    std::mt19937 random(16);
    std::normal_distribution<double> noise(0, 1);
    Activity a;
    a.startTime = startTime;
    double lat = 49.5, lon = 14.5, heading = 0.7, distance = 0, speed = 7, rate = 130;
    for (int t = 0; a.samples.size() < kRecords; ++t) {
        const bool lunch = t >= 18000 && t < 19800;
        const bool crossing = t % 2400 >= 2370;
        if (t == 18000) a.timerEvents.push_back({a.startTime + t, false});
        if (t == 19800) a.timerEvents.push_back({a.startTime + t, true});
        speed = lunch || crossing ? 0 : std::clamp(speed + 0.15 * noise(random), 3.0, 16.0);
        rate = std::clamp(rate + 0.8 * noise(random) + (speed > 9 ? 0.1 : -0.1), 90.0, 185.0);
        heading += 0.02 * noise(random);
        lat += speed * std::cos(heading) / 111200;
        lon += speed * std::sin(heading) / (111200 * std::cos(lat * M_PI / 180));
        distance += speed;
        if (lunch) continue;  // the device records nothing while paused
        Sample s;
        s.time = a.startTime + t;
        s.latitude = lat;
        s.longitude = lon;
        s.altitude = 400 + 150 * std::sin(t / 3000.0);
        s.distance = distance;
        s.speed = speed;
        s.heartRate = std::round(rate);
        s.cadence = speed > 0 ? 85 : 0;
        s.power = speed > 0 ? 180 + 20 * noise(random) : 0;
        a.samples.push_back(s);
    }
    a.totals.energy = 5200;
    return a;
}

}  // namespace kolvio::bench
