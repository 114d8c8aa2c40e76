// The place's one text: every value read whole or refused by name, the other parameters of a
// query kept in order, and the text reading back as the same place.
#include "choreography/show_place.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

const ShowPlace ELSEWHERE{77, true, 1, {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}};

bool samePlace(const ShowPlace& a, const ShowPlace& b) {
    return a.tick == b.tick && a.paused == b.paused && a.speed == b.speed &&
           std::memcmp(&a.camera, &b.camera, sizeof a.camera) == 0;
}

// Reads the query over a place elsewhere; a refusal must leave that place and name the
// parameter as written.
bool reads(const std::string& query, ShowPlace& place) {
    place = ELSEWHERE;
    std::string refusal;
    const bool read = readPlaceQuery(query, place, refusal);
    if (!read) {
        EXPECT_TRUE(samePlace(place, ELSEWHERE)) << "a refused " << query << " moved the place";
        EXPECT_NE(refusal.find(query.substr(query.rfind('&') + 1)), std::string::npos) << refusal;
        EXPECT_EQ(refusal.find('\n'), std::string::npos) << refusal;
    } else {
        EXPECT_TRUE(refusal.empty()) << refusal;
    }
    return read;
}

TEST(PlaceQuery, EveryValueIsReadWholeOrRefused) {
    const char* refused[] = {
        // The tick: no sign, no space, no junk, no NUL, nothing past MAX_TICK.
        "t=",
        "t",
        "t=-1",
        "t=+5",
        "t= 5",
        "t=5%20",
        "t=12x",
        "t=740%00junk",
        "t=0x10",
        "t=4294967296",
        "t=99999999999999999999",
        "t=1e3",
        // The pause: no value, 1, true, 0 or false and nothing else.
        "paused=",
        "paused=2",
        "paused=yes",
        "paused=TRUE",
        "paused=1%00",
        // The speed by its name.
        "speed=",
        "speed",
        "speed=3",
        "speed=16",
        "speed=1/16",
        "speed=0",
        "speed=%201",
        "speed=2x",
        // The camera: six finite numbers, commas between, nothing else.
        "cam=",
        "cam",
        "cam=1,2,3,4,5",
        "cam=1,2,3,4,5,6,7",
        "cam=1,2,3,4,5,nan",
        "cam=inf,2,3,4,5,6",
        "cam=1,2,3,4,5,1e99",
        "cam=1,2,3,4,5,-1e39",
        "cam=1,2,3,4,5, 6",
        "cam=%201,2,3,4,5,6",
        "cam=1,2,,4,5,6",
        "cam=1,2,3,4,5,6,",
        "cam=1,2,3,4,5,6x",
        "cam=1,2,3,4,5,6%00",
        "cam=1,2,3%002,4,5,6",
        "cam=+1,2,3,4,5,6",
    };
    ShowPlace place;
    for (const char* bad : refused) {
        EXPECT_FALSE(reads(std::string("?hold=3&") + bad, place)) << bad;
    }
    EXPECT_TRUE(reads("?t=4294967295", place));
    EXPECT_EQ(place.tick, MAX_TICK);
    EXPECT_TRUE(reads("t=0740", place));
    EXPECT_EQ(place.tick, 740u);
    // What a query does not name is the start's.
    EXPECT_FALSE(place.paused);
    EXPECT_EQ(place.speed, NORMAL_SPEED);
    EXPECT_TRUE(samePlace(place, ShowPlace{740, false, NORMAL_SPEED, ViewerCamera{}}));
    const struct {
        const char* query;
        bool paused;
    } pauses[] = {{"paused", true},    {"paused=1", true},      {"paused=true", true},
                  {"paused=0", false}, {"paused=false", false}, {"paused&paused=0", false}};
    for (const auto& p : pauses) {
        EXPECT_TRUE(reads(p.query, place)) << p.query;
        EXPECT_EQ(place.paused, p.paused) << p.query;
    }
    int speed = 0;
    for (const char* name : {"1/8", "1%2F4", "1/2", "1", "2", "4", "8"}) {
        EXPECT_TRUE(reads(std::string("speed=") + name, place)) << name;
        EXPECT_EQ(place.speed, speed++) << name;
    }
    EXPECT_TRUE(reads("cam=-1.5,0,4.94999981,-1e-08,359,1e-40", place));
    EXPECT_EQ(place.camera.heading, -1.5f);
    EXPECT_EQ(place.camera.z, 4.94999981f);
    EXPECT_EQ(place.camera.bob, -1e-08f);
    EXPECT_EQ(place.camera.stepPhase, 359.0f);
    EXPECT_GT(place.camera.pitch, 0.0f);
}

TEST(PlaceQuery, ARefusalNamesTheValueAndWhatItTakes) {
    ShowPlace place;
    std::string refusal;
    EXPECT_FALSE(readPlaceQuery("?t=740%00junk", place, refusal));
    EXPECT_EQ(refusal, "The link's t=740%00junk was refused (a tick is a whole number from 0 to "
                       "4294967295): the show opens at its start.");
    EXPECT_FALSE(readPlaceQuery("speed=3", place, refusal));
    EXPECT_NE(refusal.find("1/8, 1/4, 1/2, 1, 2, 4, 8"), std::string::npos) << refusal;
}

TEST(PlaceQuery, TheTextReadsBackAsTheSamePlaceAndKeepsTheOtherParameters) {
    const ShowPlace places[] = {
        {0, false, NORMAL_SPEED, ViewerCamera{}},
        {740, true, 0, {-1.5f, 0.1f, 4.9499998f, -0.0017452f, 359.0f, 1e-8f}},
        {MAX_TICK, false, SPEED_COUNT - 1, {1e30f, -1e-30f, 3.3000002f, 0.0f, -0.0f, 90.0f}},
    };
    for (const ShowPlace& place : places) {
        const std::string query = placeQuery("?hold=0&x=%2C&t=9&cam=1&paused&speed=8&y", place);
        EXPECT_EQ(query.rfind("?hold=0&x=%2C&y&t=" + tickText(place.tick), 0), 0u) << query;
        ShowPlace back = ELSEWHERE;
        std::string refusal;
        ASSERT_TRUE(readPlaceQuery(query, back, refusal)) << refusal;
        EXPECT_TRUE(samePlace(back, place)) << query;
        EXPECT_EQ(placeQuery(query, back), query);
    }
    EXPECT_EQ(placeQuery("", places[0]), "?t=0&cam=0,0,5,0,0,0");
    EXPECT_EQ(placeQuery("?", places[1]).rfind("?t=740&paused&speed=1/8&cam=-1.5,0.1", 0), 0u);
    EXPECT_EQ(placeLine(places[0]),
              "place: --at 0 --camera 0,0,5,0,0,0   page: ?t=0&cam=0,0,5,0,0,0");
    EXPECT_EQ(placeLine(ShowPlace{740, true, 5, ViewerCamera{}}),
              "place: --at 740 --paused --speed 4 --camera 0,0,5,0,0,0   "
              "page: ?t=740&paused&speed=4&cam=0,0,5,0,0,0");
}

TEST(PlaceQuery, AnAddressWithoutThePlaceKeepsOnlyThePagesOwnParameters) {
    EXPECT_EQ(queryWithoutPlace("?hold=0&t=9&cam=1,2,3,4,5,6&paused&speed=8&y=%26"), "?hold=0&y=%26");
    EXPECT_EQ(queryWithoutPlace("?t=9&paused"), "");
    EXPECT_EQ(queryWithoutPlace(""), "");
    // What is left names no moment: it opens at the start.
    ShowPlace place = ELSEWHERE;
    std::string refusal;
    ASSERT_TRUE(readPlaceQuery(queryWithoutPlace("?t=740&paused&x"), place, refusal));
    EXPECT_TRUE(samePlace(place, ShowPlace{}));
}

TEST(PlaceQuery, OldLinksStillOpen) {
    ShowPlace place;
    std::string refusal;
    ASSERT_TRUE(readPlaceQuery("?t=1000&paused&cam=-1.5,0,4.94999981,1e-08,359,90", place, refusal))
        << refusal;
    EXPECT_TRUE(place.paused);
    EXPECT_EQ(place.tick, 1000u);
    EXPECT_EQ(place.camera.pitch, 90.0f);
}

} // namespace
