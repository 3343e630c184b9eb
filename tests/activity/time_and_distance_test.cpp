// Times of the XML formats, the rider's calendar day, and distances on the
// ellipsoid.
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "activity/geodesy.h"
#include "activity/time_text.h"

namespace kolvio::activity {
namespace {

constexpr double kJune9 = 1686268800;  // 2023-06-09 00:00:00 UTC

TEST(XmlTime, ReadsUtcFractionsAndOffsets) {
    struct Row {
        const char* text;
        double seconds;
    };
    const Row rows[] = {
        {"2023-06-09T22:30:00Z", kJune9 + 81000},
        {"2023-06-09T22:30:00.250Z", kJune9 + 81000.25},
        {"  2023-06-09T22:30:00Z\n", kJune9 + 81000},
        {"2023-06-10T00:30:00+02:00", kJune9 + 81000},
        {"2023-06-09T20:00:00-02:30", kJune9 + 81000},
        {"2023-06-09T22:30:00", kJune9 + 81000},  // no zone: UTC
        {"1970-01-01T00:00:00Z", 0},
        {"2024-02-29T00:00:00Z", 1709164800},
    };
    for (const Row& row : rows) {
        const auto t = ParseXmlTime(row.text);
        ASSERT_TRUE(t.has_value()) << row.text;
        EXPECT_DOUBLE_EQ(*t, row.seconds) << row.text;
    }
}

TEST(XmlTime, RefusesTextThatIsNoMoment) {
    for (const char* text :
         {"", "2023-06-09", "2023-06-09 22:30:00Z", "2023-13-01T00:00:00Z", "2023-02-29T00:00:00Z",
          "2023-06-31T00:00:00Z", "2023-06-09T24:00:00Z", "2023-06-09T22:60:00Z",
          "2023-06-09T22:30:00.Z", "2023-06-09T22:30:00Zjunk", "2023-06-09T22:30:00+2:00",
          "23-06-09T22:30:00Z", "2023-06-09T22:30Z"}) {
        EXPECT_FALSE(ParseXmlTime(text).has_value()) << text;
    }
}

class RiderZone : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) saved_ = tz;
    }
    void TearDown() override {
        if (saved_) {
            setenv("TZ", saved_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void Use(const char* zone) { setenv("TZ", zone, 1); }

private:
    std::optional<std::string> saved_;
};

TEST_F(RiderZone, TheDayIsTheStartsDayWhereTheRiderLives) {
    const double lateEvening = kJune9 + 81000;  // 22:30 UTC
    Use("UTC");
    EXPECT_EQ(DateInLocalZone(lateEvening), (CivilDate{2023, 6, 9}));
    Use("Europe/Prague");  // 00:30 summer time, the next day
    EXPECT_EQ(DateInLocalZone(lateEvening), (CivilDate{2023, 6, 10}));
    Use("America/New_York");  // 18:30 the same day
    EXPECT_EQ(DateInLocalZone(lateEvening), (CivilDate{2023, 6, 9}));
    Use("Europe/Prague");  // winter: 23:30 UTC on 31 December is New Year's Day
    EXPECT_EQ(DateInLocalZone(*ParseXmlTime("2023-12-31T23:30:00Z")), (CivilDate{2024, 1, 1}));
}

TEST(Geodesy, DegreesOfLongitudeAtTheEquatorAreTheEquatorialRadius) {
    // 1° of the equator = a·π/180 = 111 319.490 8 m.
    EXPECT_NEAR(GeodesicDistance(0, 14, 0, 15), 111319.4908, 1e-3);
    EXPECT_NEAR(GeodesicDistance(0, 14, 0, 14.0001), 11.13194908, 1e-7);
}

TEST(Geodesy, MatchesVincentysSolutionOnTheEllipsoid) {
    // Reference lengths from Vincenty's iterative solution on WGS 84.
    struct Row {
        double lat1, lon1, lat2, lon2, metres, tolerance;
    };
    const Row rows[] = {
        {44.5, 14, 45.5, 14, 111131.7777, 0.01},        // a degree of a meridian
        {50, 14, 50, 14.01, 716.9575356, 1e-4},         // along a parallel
        {50, 14, 50.001, 14.001, 132.3332205, 1e-4},    // oblique
        {0, 179.9999, 0, -179.9999, 22.2639016, 1e-4},  // across the date line
        {50, 14, 50, 14, 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(GeodesicDistance(r.lat1, r.lon1, r.lat2, r.lon2), r.metres, r.tolerance)
            << r.lat1 << " " << r.lon1 << " " << r.lat2 << " " << r.lon2;
    }
}

TEST(Geodesy, LongJumpsAreSolvedOnTheEllipsoidAndAntipodesOnTheSphere) {
    EXPECT_NEAR(GeodesicDistance(50.0755, 14.4378, 49.1951, 16.6068), 184751.531, 0.01);
    // Nearly antipodal points, where Vincenty's iteration does not converge:
    // half the circumference of the mean sphere, within 0.5 %.
    EXPECT_NEAR(GeodesicDistance(0, 0, 0.5, 179.7), 20003931, 20003931 * 0.005);
}

}  // namespace
}  // namespace kolvio::activity
