// TCX and GPX documents: structure, namespaces, extensions, damage.
#include "activity/xml_activity.h"

#include <gtest/gtest.h>

#include "activity/time_text.h"

namespace kolvio::activity {
namespace {

ActivityResult Read(const std::string& xml) {
    return ReadXmlActivity(xml, "jizda.xml");
}

double At(const char* text) {
    return *ParseXmlTime(text);
}

// Two laps, the second with two tracks (the rider paused), prefixed
// extension elements, and a foreign element that must not be read.
constexpr char kTcx[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<TrainingCenterDatabase xmlns="http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2"
    xmlns:ax="http://www.garmin.com/xmlschemas/ActivityExtension/v2"
    xmlns:other="urn:somebody-else">
 <Activities>
  <Activity Sport="Biking">
   <Id>2023-06-09T22:30:00Z</Id>
   <Lap StartTime="2023-06-09T22:30:00Z">
    <TotalTimeSeconds>100</TotalTimeSeconds><DistanceMeters>1000.5</DistanceMeters>
    <MaximumSpeed>12.5</MaximumSpeed><Calories>40</Calories>
    <AverageHeartRateBpm><Value>130</Value></AverageHeartRateBpm>
    <MaximumHeartRateBpm><Value>150</Value></MaximumHeartRateBpm>
    <Track>
     <Trackpoint>
      <Time>2023-06-09T22:30:00Z</Time>
      <Position><LatitudeDegrees>50.1</LatitudeDegrees><LongitudeDegrees>14.2</LongitudeDegrees></Position>
      <AltitudeMeters>250.5</AltitudeMeters><DistanceMeters>0</DistanceMeters>
      <HeartRateBpm><Value>121</Value></HeartRateBpm><Cadence>85</Cadence>
      <Extensions><ax:TPX><ax:Speed>9.5</ax:Speed><ax:Watts>180</ax:Watts></ax:TPX></Extensions>
      <other:DistanceMeters>99999</other:DistanceMeters>
     </Trackpoint>
    </Track>
   </Lap>
   <Lap StartTime="2023-06-09T22:31:40Z">
    <TotalTimeSeconds>300</TotalTimeSeconds><DistanceMeters>2000</DistanceMeters>
    <Calories>60</Calories>
    <AverageHeartRateBpm><Value>150</Value></AverageHeartRateBpm>
    <Track><Trackpoint><Time>2023-06-09T22:31:40Z</Time></Trackpoint></Track>
    <Track><Trackpoint><Time>2023-06-09T22:40:00Z</Time><DistanceMeters>3000</DistanceMeters></Trackpoint></Track>
   </Lap>
  </Activity>
  <Activity Sport="Running"><Id>2023-06-10T10:00:00Z</Id></Activity>
 </Activities>
</TrainingCenterDatabase>)";

TEST(TcxReader, JoinsLapsAndTracksAndSumsTheLaps) {
    const ActivityResult r = Read(kTcx);
    ASSERT_TRUE(r.ok()) << r.error;
    const Activity& a = r.activity;
    EXPECT_EQ(a.format, ActivityFormat::kTcx);
    EXPECT_EQ(a.startTime, At("2023-06-09T22:30:00Z"));
    ASSERT_EQ(a.samples.size(), 3u);
    const Sample& s = a.samples[0];
    EXPECT_DOUBLE_EQ(s.latitude, 50.1);
    EXPECT_DOUBLE_EQ(s.longitude, 14.2);
    EXPECT_DOUBLE_EQ(s.altitude, 250.5);
    EXPECT_DOUBLE_EQ(s.distance, 0);  // not the foreign element's 99999
    EXPECT_EQ(s.heartRate, 121);
    EXPECT_EQ(s.cadence, 85);
    EXPECT_DOUBLE_EQ(s.speed, 9.5);
    EXPECT_EQ(s.power, 180);
    EXPECT_EQ(a.samples[2].time, At("2023-06-09T22:40:00Z"));
    EXPECT_DOUBLE_EQ(a.totals.distance, 3000.5);
    EXPECT_DOUBLE_EQ(a.totals.timerTime, 400);
    EXPECT_DOUBLE_EQ(a.totals.energy, 100);
    EXPECT_DOUBLE_EQ(a.totals.maxSpeed, 12.5);
    EXPECT_DOUBLE_EQ(a.totals.averageHeartRate, (130 * 100 + 150 * 300) / 400.0);
    EXPECT_DOUBLE_EQ(a.totals.maxHeartRate, 150);
    // Only the first activity is read, and the rider is told.
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("více aktivit"), std::string::npos);
}

TEST(TcxReader, ACourseStartsAtItsFirstLapOrItsFirstPoint) {
    const ActivityResult r = Read(R"(<TrainingCenterDatabase
        xmlns="http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2"><Courses><Course>
        <Lap><TotalTimeSeconds>60</TotalTimeSeconds></Lap>
        <Track><Trackpoint><Time>2023-06-09T22:30:05Z</Time></Trackpoint>
               <Trackpoint><Time>2023-06-09T22:30:04Z</Time></Trackpoint></Track>
        </Course></Courses></TrainingCenterDatabase>)");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.activity.samples.size(), 2u);
    EXPECT_EQ(r.activity.startTime, At("2023-06-09T22:30:04Z"));
    EXPECT_TRUE(r.warnings.empty());
}

TEST(TcxReader, ElementsOutsideTheTcxNamespaceAreNotTcx) {
    // The right names in the wrong namespace: no activity at all.
    const ActivityResult r = Read(R"(<TrainingCenterDatabase
        xmlns="http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2"
        xmlns:x="urn:x"><x:Activities><x:Activity><x:Lap><x:Track><x:Trackpoint>
        <x:Time>2023-06-09T22:30:05Z</x:Time></x:Trackpoint></x:Track></x:Lap></x:Activity>
        </x:Activities></TrainingCenterDatabase>)");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.activity.samples.empty());
}

// Two tracks, the first with two segments; Garmin's extension under two
// different prefixes (v1 and v2), and a GPX 1.1 speed element that is no
// part of GPX 1.1.
constexpr char kGpx[] = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:gpxtpx="http://www.garmin.com/xmlschemas/TrackPointExtension/v1"
     xmlns:ns3="http://www.garmin.com/xmlschemas/TrackPointExtension/v2"
     xmlns:pw="http://www.garmin.com/xmlschemas/PowerExtension/v1">
 <metadata><time>2023-01-01T00:00:00Z</time></metadata>
 <wpt lat="1" lon="1"><time>2023-06-09T20:00:00Z</time></wpt>
 <trk><trkseg>
  <trkpt lat="50.5" lon="14.5"><ele>300</ele><time>2023-06-09T22:30:01Z</time><speed>99</speed>
   <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>140</gpxtpx:hr><gpxtpx:cad>90</gpxtpx:cad>
   </gpxtpx:TrackPointExtension><pw:PowerInWatts>250</pw:PowerInWatts></extensions></trkpt>
 </trkseg><trkseg>
  <trkpt lat="50.6" lon="14.6"><time>2023-06-09T22:30:00Z</time>
   <extensions><ns3:TrackPointExtension><ns3:hr>141</ns3:hr><ns3:speed>8.25</ns3:speed>
   </ns3:TrackPointExtension><power>260</power></extensions></trkpt>
 </trkseg></trk>
 <trk><trkseg><trkpt lat="95" lon="14.7"><time>2023-06-09T22:30:02Z</time></trkpt></trkseg></trk>
</gpx>)";

TEST(GpxReader, JoinsTracksAndSegmentsAndReadsGarminsExtensions) {
    const ActivityResult r = Read(kGpx);
    ASSERT_TRUE(r.ok()) << r.error;
    const Activity& a = r.activity;
    EXPECT_EQ(a.format, ActivityFormat::kGpx);
    ASSERT_EQ(a.samples.size(), 3u);  // the waypoint is no sample
    const Sample& first = a.samples[0];
    EXPECT_DOUBLE_EQ(first.latitude, 50.5);
    EXPECT_DOUBLE_EQ(first.altitude, 300);
    EXPECT_EQ(first.heartRate, 140);
    EXPECT_EQ(first.cadence, 90);
    EXPECT_EQ(first.power, 250);
    EXPECT_FALSE(Has(first.speed));  // GPX 1.1 has no speed element
    EXPECT_EQ(a.samples[1].heartRate, 141);
    EXPECT_DOUBLE_EQ(a.samples[1].speed, 8.25);
    EXPECT_EQ(a.samples[1].power, 260);
    EXPECT_FALSE(a.samples[2].hasPosition());            // latitude 95 does not exist
    EXPECT_EQ(a.startTime, At("2023-06-09T22:30:00Z"));  // the earliest point, not the metadata
}

TEST(GpxReader, Gpx10SpeedAndADocumentWithoutNamespace) {
    const ActivityResult v10 = Read(R"(<gpx xmlns="http://www.topografix.com/GPX/1/0">
        <trk><trkseg><trkpt lat="1" lon="2"><time>2023-06-09T22:30:00Z</time>
        <speed>7.5</speed></trkpt></trkseg></trk></gpx>)");
    ASSERT_TRUE(v10.ok()) << v10.error;
    EXPECT_DOUBLE_EQ(v10.activity.samples.at(0).speed, 7.5);

    const ActivityResult bare = Read(R"(<gpx><trk><trkseg><trkpt lat="1" lon="2">
        <time>2023-06-09T22:30:00Z</time></trkpt></trkseg></trk></gpx>)");
    ASSERT_TRUE(bare.ok()) << bare.error;
    EXPECT_EQ(bare.activity.samples.size(), 1u);
}

// The elevation a one-point GPX gives for the text of its <ele>.
double Elevation(const std::string& ele) {
    const ActivityResult r = Read("<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"><ele>" + ele +
                                  "</ele></trkpt></trkseg></trk></gpx>");
    EXPECT_TRUE(r.ok()) << r.error;
    return r.ok() && r.activity.samples.size() == 1 ? r.activity.samples[0].altitude : -1;
}

TEST(XmlReader, AValueIsTheNumberItsTextsMakeOrNone) {
    const struct {
        const char* text;
        double elevation;
    } rows[] = {
        {" 5 ", 5},
        {"\n\t-1.5e2\r\n", -150},
        {"\u00A0+.5\u3000", 0.5},  // Unicode spaces around it
        {"\u22122", -2},           // a typographic minus
        {"&#53;<![CDATA[0]]>", 50},
        {"5<!-- the unit -->0<x>9</x>1", 501},  // a child's text is not the value's
        {"1e-310", 1e-310},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(Elevation(row.text), row.elevation) << row.text;
    }
    for (const char* none :
         {"", "x", "5 5", "1,5", "0x10", "1e", ".", "1e400", "1e-400", "nan", "inf", "--5"}) {
        EXPECT_FALSE(Has(Elevation(none))) << none;
    }
}

TEST(XmlReader, ADocumentInAOneByteCodePageIsRead) {
    // Czech names in windows-1250, as older Windows programs write them.
    const ActivityResult r = Read(
        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<gpx><trk><name>\x8E"
        "elezn\xE1 "
        "Ruda</name><trkseg><trkpt lat=\"49.1\" lon=\"13.2\"><ele>800</ele></trkpt>"
        "</trkseg></trk></gpx>");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.activity.samples.size(), 1u);
    EXPECT_DOUBLE_EQ(r.activity.samples[0].altitude, 800);
    // Of a code page with several bytes a character, its ASCII part.
    const ActivityResult sjis = Read(
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><gpx><trk><trkseg><trkpt lat=\"1\" "
        "lon=\"2\"/></trkseg></trk></gpx>");
    ASSERT_TRUE(sjis.ok()) << sjis.error;
    EXPECT_EQ(sjis.activity.samples.size(), 1u);
}

TEST(XmlReader, AValueCutOffByTheEndOfTheFileIsNotTaken) {
    const std::string point =
        "<gpx>\n<trk><trkseg><trkpt lat=\"1\" lon=\"2\"><time>2023-06-09T22:30:00Z</time>";
    const ActivityResult cut = Read(point + "<ele>30");  // the 30 may have gone on
    ASSERT_TRUE(cut.ok()) << cut.error;
    EXPECT_TRUE(cut.damaged);
    ASSERT_EQ(cut.activity.samples.size(), 1u);
    EXPECT_FALSE(Has(cut.activity.samples[0].altitude));
    const ActivityResult ended = Read(point + "<ele>30<");  // the 30 is whole
    ASSERT_EQ(ended.activity.samples.size(), 1u);
    EXPECT_DOUBLE_EQ(ended.activity.samples[0].altitude, 30);
}

TEST(XmlReader, RefusesXmlThatIsNoRide) {
    for (const char* xml : {"<html><body>jízda</body></html>",
                            R"(<gpx xmlns="http://www.topografix.com/GPX/2/0"><trk/></gpx>)",
                            R"(<TrainingCenterDatabase xmlns="urn:not-garmin"/>)"}) {
        const ActivityResult r = Read(xml);
        EXPECT_FALSE(r.ok()) << xml;
        EXPECT_NE(r.error.find("ne záznam jízdy ve formátu TCX ani GPX"), std::string::npos);
        EXPECT_NE(r.error.find("\"jizda.xml\""), std::string::npos);
    }
}

TEST(XmlReader, ABrokenDocumentKeepsWhatCameBeforeTheDamage) {
    const std::string whole = kGpx;
    const std::string cut = whole.substr(0, whole.find("<trk><trkseg><trkpt lat=\"95\""));
    const ActivityResult r = Read(cut);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.activity.samples.size(), 2u);
    EXPECT_NE(r.warnings.at(0).find("před poškozeným místem"), std::string::npos);
}

TEST(XmlReader, ABrokenDocumentWithoutSamplesNamesTheLine) {
    for (const char* xml :
         {"<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n<trkpt",
          "<gpx>\n</trk>", "<", "<?xml version=\"1.0\"?>"}) {
        const ActivityResult r = Read(xml);
        EXPECT_FALSE(r.ok()) << xml;
        EXPECT_NE(r.error.find("chyba XML na řádku"), std::string::npos) << r.error;
    }
}

TEST(XmlReader, EntityExpansionIsBounded) {
    // A "billion laughs" document: Qt refuses to expand it without end.
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE gpx [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'k'; ++c) {
        xml += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i)
            xml += std::string("&") + static_cast<char>(c - 1) + ";";
        xml += "\">";
    }
    xml += "]><gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>&k;</name></trk></gpx>";
    const ActivityResult r = Read(xml);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error.find("chyba XML"), std::string::npos) << r.error;
}

}  // namespace
}  // namespace kolvio::activity
