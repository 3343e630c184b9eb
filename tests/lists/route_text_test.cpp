// Waypoint texts and the place-name suggestions of the new-route screen.
#include "lists/route_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/database/database.h"
#include "tests/data/temp_dir.h"

namespace kolvio {
namespace {

using Words = std::vector<std::string>;

struct ReverseCase {
    const char* waypoints;
    int count;
    const char* reversed;
};

class WaypointTest : public ::testing::TestWithParam<ReverseCase> {};

TEST_P(WaypointTest, CountAndReverse) {
    EXPECT_EQ(WaypointCount(GetParam().waypoints), GetParam().count);
    EXPECT_EQ(ReverseWaypoints(GetParam().waypoints), GetParam().reversed);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WaypointTest,
    ::testing::Values(ReverseCase{"A;B;C", 3, "C;B;A"},
                      // A trailing separator ends the last waypoint.
                      ReverseCase{"A;B;", 2, "B;A"}, ReverseCase{"", 0, ""},
                      ReverseCase{"Beroun", 1, "Beroun"}, ReverseCase{"Beroun;", 1, "Beroun;"},
                      ReverseCase{";", 1, ";"}, ReverseCase{"A;;B", 3, "B;;A"},
                      ReverseCase{"Kladno; Slaný;Louny", 3, "Louny; Slaný;Kladno"},
                      ReverseCase{"Říčany;Čerčany", 2, "Čerčany;Říčany"}));

TEST(WaypointLength, SeparatorCountsEvenWithoutWaypoints) {
    EXPECT_TRUE(WaypointFits("", std::string(79, 'x')));
    EXPECT_FALSE(WaypointFits("", std::string(80, 'x')));
    EXPECT_TRUE(WaypointFits(std::string(70, 'x'), std::string(9, 'y')));
    EXPECT_FALSE(WaypointFits(std::string(70, 'x'), std::string(10, 'y')));
    // Characters, not bytes: 39 two-byte letters are 39 characters.
    std::string czech;
    for (int i = 0; i < 39; ++i)
        czech += "ř";
    EXPECT_TRUE(WaypointFits(czech, czech + "ř"));
    EXPECT_FALSE(WaypointFits(czech + "ř", czech + "ř"));
    EXPECT_EQ(AppendWaypoint("", "Beroun"), "Beroun");
    EXPECT_EQ(AppendWaypoint("Beroun", "Zdice"), "Beroun;Zdice");
}

TEST(Suggestions, WordsAreSplitAtCommasAndSemicolons) {
    EXPECT_EQ(SuggestionWords("Beroun;Zdice"), (Words{"Beroun", "Zdice"}));
    EXPECT_EQ(SuggestionWords("Beroun, Zdice;;Hořovice,"), (Words{"Beroun", "Zdice", "Hořovice"}));
    // Only one leading blank goes, and a lone blank stays a word (never added).
    EXPECT_EQ(SuggestionWords(";  Lány; ;x"), (Words{" Lány", " ", "x"}));
    EXPECT_EQ(SuggestionWords(" Úvaly"), (Words{"Úvaly"}));
    EXPECT_EQ(SuggestionWords(""), Words{});
}

TEST(Suggestions, AddedOnceWhateverTheLetterCaseAndSortedInCzechOrder) {
    Words list = {"Hradec"};
    EXPECT_FALSE(AddSuggestion(list, "HRADEC"));
    EXPECT_FALSE(AddSuggestion(list, ""));
    EXPECT_FALSE(AddSuggestion(list, " "));
    EXPECT_TRUE(AddSuggestion(list, "Cheb"));
    EXPECT_TRUE(AddSuggestion(list, "čáslav"));
    EXPECT_TRUE(AddSuggestion(list, "Brno"));
    EXPECT_TRUE(AddSuggestion(list, "Ústí"));
    EXPECT_TRUE(AddSuggestion(list, "Cerhenice"));
    EXPECT_FALSE(AddSuggestion(list, "ČÁSLAV"));
    SortSuggestions(list);
    // C < Č, H < CH < I.
    EXPECT_EQ(list, (Words{"Brno", "Cerhenice", "čáslav", "Hradec", "Cheb", "Ústí"}));
}

class CollectTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.MOtevriNovaDB(tmp.path(), OverwritePolicy::kKeepFiles).ok());
    }
    void AddRoute(int code, const char* start, const char* waypoints, const char* finish) {
        Table& trs = db.TTRS();
        ASSERT_TRUE(trs.append().ok());
        ASSERT_TRUE(trs.setValue("TRS_C", code).ok());
        ASSERT_TRUE(trs.setValue("TRS_START", start).ok());
        ASSERT_TRUE(trs.setValue("TRS_MEZI", waypoints).ok());
        ASSERT_TRUE(trs.setValue("TRS_CIL", finish).ok());
        ASSERT_TRUE(trs.post().ok());
    }
    void AddRide(int route, int day) {
        Table& rides = db.Table1();
        ASSERT_TRUE(rides.append().ok());
        ASSERT_TRUE(rides.setValue("TRS_C", route).ok());
        ASSERT_TRUE(rides.setValue("DATUM", *Date::FromYmd(2003, 5, day)).ok());
        ASSERT_TRUE(rides.post().ok());
    }
    RouteSuggestions Collect(int maxRides = 50) {
        RouteSuggestions out;
        out.starts = {"Praha"};
        EXPECT_TRUE(CollectRouteSuggestions(db.Table1(), db.TTRS(), maxRides, &out).ok());
        return out;
    }

    testing::TempDir tmp;
    Database db;
};

TEST_F(CollectTest, LatestRidesInTheRidesOrderFeedTheLists) {
    AddRoute(2, "Praha", "Beroun;Zdice", "Hořovice");
    AddRoute(3, "Kladno", "slaný, Louny", "PRAHA");
    AddRoute(4, "Most", "Žatec", "Chomutov");
    AddRoute(5, "", "Cheb", " ");
    AddRide(4, 1);  // physically first, but the latest by date
    AddRide(2, 28);
    AddRide(3, 29);
    AddRide(5, 30);
    AddRide(9, 31);  // its route is missing
    for (int day = 2; day <= 27; ++day)
        AddRide(1, day);
    ASSERT_TRUE(db.Table1().setIndexName("DATUM").ok());

    // By date the last three rides use routes 9, 5, 3; the route of day 1
    // comes first in this order and is beyond three rides.
    RouteSuggestions out = Collect(3);
    EXPECT_EQ(out.starts, (Words{"Kladno", "Praha"}));
    EXPECT_EQ(out.finishes, (Words{"PRAHA"}));
    EXPECT_EQ(out.waypoints, (Words{"Cheb", "Louny", "slaný"}));

    out = Collect();
    EXPECT_EQ(out.starts, (Words{"Kladno", "Most", "Praha"}));
    EXPECT_EQ(out.finishes, (Words{"Hořovice", "Chomutov", "PRAHA"}));
    EXPECT_EQ(out.waypoints,
              (Words{"Beroun", "Cheb", "Louny", "NESPECIFIKOVÁNO", "slaný", "Zdice", "Žatec"}));
}

TEST_F(CollectTest, FiftyRidesAtMostAndARideBeingEnteredStaysPending) {
    AddRoute(2, "Kladno", "Slaný", "Louny");
    AddRide(2, 1);
    for (int i = 0; i < 50; ++i)
        AddRide(1, 2);
    Table& rides = db.Table1();
    ASSERT_TRUE(rides.append().ok());
    ASSERT_TRUE(rides.setValue("TRS_C", 2).ok());
    const RouteSuggestions out = Collect();
    EXPECT_EQ(out.starts, (Words{"Praha"}));
    EXPECT_EQ(out.waypoints, (Words{"NESPECIFIKOVÁNO"}));
    EXPECT_EQ(rides.state(), DatasetState::kInsert);
    EXPECT_EQ(rides.getInt("TRS_C"), 2);
    rides.cancel();
    EXPECT_EQ(rides.recordCount(), 51);
}

TEST_F(CollectTest, NoRidesGiveThePresetsSorted) {
    RouteSuggestions out;
    out.waypoints = {"Zdice", "beroun"};
    ASSERT_TRUE(CollectRouteSuggestions(db.Table1(), db.TTRS(), 50, &out).ok());
    EXPECT_EQ(out.waypoints, (Words{"beroun", "Zdice"}));
}

}  // namespace
}  // namespace kolvio
