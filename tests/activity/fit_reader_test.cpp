// FIT files built byte by byte: the protocol's corners and damaged files.
#include "activity/fit_reader.h"

#include <cstring>

#include <gtest/gtest.h>

#include "activity/fit_decoder.h"
#include "fit_builder.h"

namespace kolvio::activity {
namespace {

using testing::FitBuilder;
using namespace testing;  // base types

constexpr uint32_t kT0 = 1055000000;  // FIT seconds: 2023-06-06 15:33:20 UTC
constexpr double kUnixT0 = kT0 + fit::kEpochOffset;

ActivityResult Read(const std::string& bytes) {
    return ReadFit(bytes, "jizda.fit");
}

// A record definition with time, heart rate and distance.
FitBuilder& DefineRecord(FitBuilder& fit, uint8_t local, bool bigEndian = false) {
    return fit.define(local, 20, {{253, 4, kUint32}, {3, 1, kUint8}, {5, 4, kUint32}}, bigEndian);
}

TEST(FitCrc, MatchesTheProtocolsCheckValue) {
    // The CRC-16 of the protocol is CRC-16/ARC, whose check value is 0xBB3D.
    EXPECT_EQ(fit::Crc16("123456789"), 0xBB3D);
    EXPECT_EQ(fit::Crc16(""), 0);
}

TEST(FitReader, ReadsRecordsBehindShortAndLongHeaders) {
    for (const int headerSize : {12, 14}) {
        FitBuilder fit;
        DefineRecord(fit, 0).data(0, {kT0, 120, 0}).data(0, {kT0 + 1, 121, 1050});
        const ActivityResult r = Read(fit.file(headerSize));
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_FALSE(r.damaged);
        EXPECT_TRUE(r.warnings.empty());
        ASSERT_EQ(r.activity.samples.size(), 2u);
        EXPECT_EQ(r.activity.samples[1].time, kUnixT0 + 1);
        EXPECT_EQ(r.activity.samples[1].heartRate, 121);
        EXPECT_DOUBLE_EQ(r.activity.samples[1].distance, 10.5);
        EXPECT_EQ(r.activity.startTime, kUnixT0);  // no session: the first sample
    }
}

TEST(FitReader, CompressedTimestampsCountFromTheLastFullTimeAndWrap) {
    FitBuilder fit;
    DefineRecord(fit, 0).data(0, {kT0 + 30, 100, 0});  // kT0 + 30 ends in 0b11110 (30)
    fit.define(1, 20, {{3, 1, kUint8}});
    fit.compressed(1, 31, {101});  // same 32-second block: +1
    fit.compressed(1, 2, {102});   // offset below the last: wraps into the next block
    fit.compressed(1, 2, {103});   // equal offset: same second
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 4u);
    const double base = kUnixT0 + 30;
    EXPECT_EQ(r.activity.samples[1].time, base + 1);
    EXPECT_EQ(r.activity.samples[2].time, base + 4);
    EXPECT_EQ(r.activity.samples[3].time, base + 4);
}

TEST(FitReader, CompressedTimestampsCountFromATimeInAMessageTheReaderSkips) {
    FitBuilder fit;
    fit.define(0, 23, {{253, 4, kUint32}, {2, 2, kUint16}}).data(0, {kT0, 1});  // device_info
    fit.define(1, 20, {{3, 1, kUint8}}).compressed(1, (kT0 + 3) & 0x1F, {140});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.activity.samples.at(0).time, kUnixT0 + 3);
}

TEST(FitReader, CompressedTimestampWithoutAnEarlierTimeLeavesTheSampleUntimed) {
    FitBuilder fit;
    fit.define(0, 20, {{3, 1, kUint8}}).compressed(0, 5, {140});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 1u);
    EXPECT_FALSE(Has(r.activity.samples[0].time));
}

TEST(FitReader, BigEndianDefinitionsAreReadInTheirOwnByteOrder) {
    FitBuilder fit;
    DefineRecord(fit, 0, /*bigEndian=*/true).data(0, {kT0, 150, 123456});
    DefineRecord(fit, 1, /*bigEndian=*/false).data(1, {kT0 + 1, 151, 123556});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 2u);
    EXPECT_EQ(r.activity.samples[0].time, kUnixT0);
    EXPECT_DOUBLE_EQ(r.activity.samples[0].distance, 1234.56);
    EXPECT_DOUBLE_EQ(r.activity.samples[1].distance, 1235.56);
}

TEST(FitReader, DeveloperFieldsAreSkippedWithoutShiftingTheNextRecord) {
    FitBuilder fit;
    fit.define(0, 20, {{253, 4, kUint32}, {3, 1, kUint8}}, false, /*developerSizes=*/{3, 200});
    fit.data(0, {kT0, 130}).data(0, {kT0 + 1, 131});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 2u);
    EXPECT_EQ(r.activity.samples[1].time, kUnixT0 + 1);
    EXPECT_EQ(r.activity.samples[1].heartRate, 131);
}

TEST(FitReader, RecordFieldsScaleAndTheEnhancedOnesWin) {
    FitBuilder fit;
    fit.define(0, 20,
               {{253, 4, kUint32},
                {0, 4, kSint32},
                {1, 4, kSint32},
                {2, 2, kUint16},
                {6, 2, kUint16},
                {73, 4, kUint32},
                {78, 4, kUint32},
                {4, 1, kUint8},
                {7, 2, kUint16}});
    const int32_t lat = -(1 << 29);  // 2^31 semicircles are 180 degrees
    fit.data(0, {kT0, static_cast<uint32_t>(lat), 1u << 29, (100 + 500) * 5, 5000, 12345,
                 (250 + 500) * 5, 88, 210});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    const Sample& s = r.activity.samples.at(0);
    EXPECT_DOUBLE_EQ(s.latitude, -45);
    EXPECT_DOUBLE_EQ(s.longitude, 45);
    EXPECT_DOUBLE_EQ(s.altitude, 250);  // enhanced_altitude, not altitude's 100
    EXPECT_DOUBLE_EQ(s.speed, 12.345);  // enhanced_speed, not speed's 5.0
    EXPECT_EQ(s.cadence, 88);
    EXPECT_EQ(s.power, 210);
}

TEST(FitReader, InvalidValuesOfEachBaseTypeMeanAbsent) {
    FitBuilder fit;
    fit.define(0, 20,
               {{253, 4, kUint32},
                {0, 4, kSint32},
                {1, 4, kSint32},
                {3, 1, kUint8},
                {5, 4, kUint32},
                {6, 2, kUint16},
                {7, 2, kUint16},
                {4, 1, kUint8}});
    fit.data(0, {kT0, 0x7FFFFFFF, 0x7FFFFFFF, 0xFF, 0xFFFFFFFF, 0xFFFF, 0xFFFF, 80});
    fit.define(1, 20, {{253, 4, kUint32}, {3, 1, kUint8}, {5, 4, kUint32z}});
    fit.data(1, {kT0 + 1, 0, 0});  // heart rate 0 is no contact; uint32z 0 is invalid
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 2u);
    for (const Sample& s : r.activity.samples) {
        EXPECT_FALSE(s.hasPosition());
        EXPECT_FALSE(Has(s.heartRate));
        EXPECT_FALSE(Has(s.distance));
        EXPECT_FALSE(Has(s.speed));
        EXPECT_FALSE(Has(s.power));
    }
}

TEST(FitReader, ARecordWithNothingButItsTimeIsNoSample) {
    FitBuilder fit;
    fit.define(0, 20, {{253, 4, kUint32}, {3, 1, kUint8}});
    fit.data(0, {kT0, 0xFF}).data(0, {kT0 + 1, 90});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 1u);
    EXPECT_EQ(r.activity.samples[0].heartRate, 90);
}

TEST(FitReader, ATimestampOfAnotherBaseTypeCountsOnlyAsAWhole32BitNumber) {
    FitBuilder fit;
    fit.define(0, 20, {{253, 8, 0x89 /* float64 */}, {3, 1, kUint8}});
    double huge = 1.7e19, whole = kT0;
    uint64_t hugeBits, wholeBits;
    std::memcpy(&hugeBits, &huge, 8);
    std::memcpy(&wholeBits, &whole, 8);
    fit.data(0, {hugeBits, 120}).data(0, {wholeBits, 121});
    fit.define(1, 20, {{253, 4, kSint32}, {3, 1, kUint8}}).data(1, {0xFFFFFFF0, 122});  // -16
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 3u);
    EXPECT_FALSE(Has(r.activity.samples[0].time));
    EXPECT_EQ(r.activity.samples[1].time, kUnixT0);
    EXPECT_FALSE(Has(r.activity.samples[2].time));
}

TEST(FitReader, AFieldShorterThanItsBaseTypeIsIgnored) {
    FitBuilder fit;
    fit.define(0, 20, {{253, 4, kUint32}, {5, 2, kUint32}, {3, 1, kUint8}});
    fit.data(0, {kT0, 0x1234, 99});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_FALSE(Has(r.activity.samples.at(0).distance));
    EXPECT_EQ(r.activity.samples.at(0).heartRate, 99);
}

TEST(FitReader, TimerEventsSessionTotalsAndTheSessionStart) {
    FitBuilder fit;
    fit.define(0, 21, {{253, 4, kUint32}, {0, 1, kEnum}, {1, 1, kEnum}});
    fit.data(0, {kT0 + 5, 0, 0})    // timer start
        .data(0, {kT0 + 60, 0, 1})  // timer stop
        .data(0, {kT0 + 70, 3, 1})  // a stop of another event (workout): not the timer
        .data(0, {kT0 + 90, 0, 0})
        .data(0, {kT0 + 99, 0, 4});  // stop all
    const std::vector<FieldSpec> session = {{253, 4, kUint32}, {2, 4, kUint32},  {8, 4, kUint32},
                                            {9, 4, kUint32},   {11, 2, kUint16}, {16, 1, kUint8},
                                            {17, 1, kUint8},   {15, 2, kUint16}, {125, 4, kUint32}};
    fit.define(1, 18, session)
        .data(1, {kT0 + 99, kT0 + 5, 60000, 150000, 400, 140, 170, 9000, 15500})
        .data(1, {kT0 + 99, kT0 + 3, 20000, 50000, 100, 160, 180, 9000, 0xFFFFFFFF});
    DefineRecord(fit, 2).data(2, {kT0 + 10, 120, 0});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    const std::vector<TimerEvent>& e = r.activity.timerEvents;
    ASSERT_EQ(e.size(), 4u);
    EXPECT_TRUE(e[0].running);
    EXPECT_FALSE(e[1].running);
    EXPECT_EQ(e[1].time, kUnixT0 + 60);
    EXPECT_TRUE(e[2].running);
    EXPECT_FALSE(e[3].running);
    const DeviceTotals& t = r.activity.totals;
    EXPECT_DOUBLE_EQ(t.distance, 2000);  // 1500 m + 500 m
    EXPECT_DOUBLE_EQ(t.timerTime, 80);
    EXPECT_DOUBLE_EQ(t.energy, 500);
    EXPECT_DOUBLE_EQ(t.averageHeartRate, 145);  // weighted by the timer: (140·60 + 160·20) / 80
    EXPECT_DOUBLE_EQ(t.maxHeartRate, 180);
    EXPECT_DOUBLE_EQ(t.maxSpeed, 15.5);            // the enhanced maximum of the first session
    EXPECT_EQ(r.activity.startTime, kUnixT0 + 3);  // the earliest session start
}

TEST(FitReader, LapTotalsStandInForAMissingSession) {
    FitBuilder fit;
    fit.define(0, 19, {{253, 4, kUint32}, {9, 4, kUint32}, {11, 2, kUint16}});
    fit.data(0, {kT0, 100000, 300}).data(0, {kT0 + 1, 25000, 50});
    DefineRecord(fit, 1).data(1, {kT0, 120, 0});
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_DOUBLE_EQ(r.activity.totals.distance, 1250);
    EXPECT_DOUBLE_EQ(r.activity.totals.energy, 350);
}

TEST(FitReader, ChainedFilesAreReadOneAfterAnother) {
    FitBuilder first, second;
    DefineRecord(first, 0).data(0, {kT0, 120, 0});
    DefineRecord(second, 5).data(5, {kT0 + 1, 121, 100});
    const ActivityResult r = Read(first.file() + second.file(12));
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.activity.samples.size(), 2u);
    EXPECT_FALSE(r.damaged);
}

// --- damaged files ---

std::string TwoRecordFile() {
    FitBuilder fit;
    DefineRecord(fit, 0).data(0, {kT0, 120, 0}).data(0, {kT0 + 1, 121, 500});
    return fit.file();
}

TEST(FitReaderDamage, BadFileCrcKeepsTheRecordsWithAWarning) {
    std::string bytes = TwoRecordFile();
    bytes[bytes.size() - 1] ^= 0x55;
    const ActivityResult r = Read(bytes);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.damaged);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("Kontrolní součet"), std::string::npos);
    EXPECT_NE(r.warnings[0].find("jizda.fit"), std::string::npos);
    EXPECT_EQ(r.activity.samples.size(), 2u);
}

TEST(FitReaderDamage, BadHeaderCrcIsReported) {
    std::string bytes = TwoRecordFile();
    bytes[12] ^= 0x01;
    const ActivityResult r = Read(bytes);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.warnings.size(), 1u);
}

TEST(FitReaderDamage, TruncatedFileOffersTheRecordsBeforeTheCut) {
    const std::string whole = TwoRecordFile();
    const std::string cut = whole.substr(0, whole.size() - 2 - 4);  // into the second record
    const ActivityResult r = Read(cut);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.damaged);
    ASSERT_EQ(r.activity.samples.size(), 1u);
    EXPECT_NE(r.warnings.at(0).find("před poškozeným místem"), std::string::npos);
}

TEST(FitReaderDamage, DataOfAnUndefinedLocalTypeStopsTheReading) {
    FitBuilder fit;
    DefineRecord(fit, 0).data(0, {kT0, 120, 0}).raw("\x07\x01\x02");
    const ActivityResult r = Read(fit.file());
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.activity.samples.size(), 1u);
}

TEST(FitReaderDamage, NothingReadableIsAnErrorNamingTheFile) {
    FitBuilder fit;
    fit.raw(std::string("\x40\x00\x07", 3));  // a definition with an unknown byte order
    for (const std::string& bytes : {fit.file(), TwoRecordFile().substr(0, 20)}) {
        const ActivityResult r = Read(bytes);
        EXPECT_FALSE(r.ok());
        EXPECT_NE(r.error.find("\"jizda.fit\""), std::string::npos) << r.error;
    }
}

// Every prefix of a file and every single-byte change of it is read without
// a crash or an out-of-bounds read (the sanitizers watch), and none of them
// passes for a sound file.
TEST(FitReaderDamage, EveryCutAndEveryFlippedByteIsNoticed) {
    FitBuilder fit;
    fit.define(0, 20, {{253, 4, kUint32}, {3, 1, kUint8}}, false, {2});
    fit.data(0, {kT0, 120});
    fit.define(1, 21, {{253, 4, kUint32}, {0, 1, kEnum}, {1, 1, kEnum}}, true);
    fit.data(1, {kT0 + 1, 0, 1});
    fit.compressed(0, 3, {121});
    const std::string bytes = fit.file();
    ASSERT_FALSE(Read(bytes).damaged);
    for (size_t n = 0; n < bytes.size(); ++n) {
        const ActivityResult r = Read(bytes.substr(0, n));
        EXPECT_TRUE(!r.ok() || r.damaged) << "cut at " << n;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (const int flip : {0x01, 0x80, 0xFF}) {
            std::string changed = bytes;
            changed[i] = static_cast<char>(changed[i] ^ flip);
            const ActivityResult r = Read(changed);
            EXPECT_TRUE(!r.ok() || r.damaged) << "byte " << i << " ^ " << flip;
        }
    }
}

}  // namespace
}  // namespace kolvio::activity
