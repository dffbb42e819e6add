#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "AirportLayout.hpp"
#include "SyntheticTraffic.hpp"
#include "common/GreatCircle.hpp"
#include "support/TempFolder.hpp"

namespace corv::rtfeed {
namespace {

constexpr double pi = 3.14159265358979323846;

struct Airport {
    const char* icao;
    common::GeoPoint user;
};
// The demo user's gate at EHAM and the reference points of the others.
const std::vector<Airport> airports{
    {"EHAM", {52.3096, 4.7636}}, {"KMSP", {44.8820, -93.2218}}, {"LSZH", {47.4647, 8.5492}}};

AirportLayout layoutOf(const Airport& airport) {
    std::string problem;
    auto layout = loadAirportLayout(CORV_RUNWAY_TABLE, CORV_STAND_FOLDER, airport.user, problem);
    if (!layout) throw std::runtime_error(problem);
    return *layout;
}

double angleBetween(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

common::GeoPoint where(const TrafficState& s) {
    return {s.latitude, s.longitude};
}

const Stand* standAt(const AirportLayout& layout, const TrafficState& s, double metres) {
    for (const Stand& stand : layout.stands)
        if (common::distanceNm(stand.position, where(s)) * common::metresPerNm < metres)
            return &stand;
    return nullptr;
}

// Metres along and across a runway from its end.
struct OnRunway {
    double along;
    double across;
};
OnRunway onRunway(const Runway& runway, const common::GeoPoint& p) {
    const double distance = common::distanceNm(runway.end, p) * common::metresPerNm;
    const double off = common::initialBearing(runway.end, p) - runway.heading * pi / 180.0;
    return {distance * std::cos(off), std::fabs(distance * std::sin(off))};
}

// Every report of every aircraft, once a second for half an hour.
std::map<std::uint32_t, std::vector<TrafficState>> fly(const AirportLayout& layout,
                                                       const Airport& airport) {
    SyntheticTraffic traffic(airport.user.latitude, airport.user.longitude, 0.0, 3, layout);
    std::map<std::uint32_t, std::vector<TrafficState>> tracks;
    for (double seconds = 0; seconds < 1800; seconds += 1)
        for (const TrafficState& s : traffic.at(seconds))
            tracks[s.hexid].push_back(s);
    return tracks;
}

TEST(RtFeedAirport, ArrivalsLandOnARealRunwayAndParkOnARealStand) {
    for (const Airport& airport : airports) {
        SCOPED_TRACE(airport.icao);
        const AirportLayout layout = layoutOf(airport);
        int landed = 0;
        int parked = 0;
        for (const auto& [hexid, reports] : fly(layout, airport)) {
            const bool arrival = !reports.front().onGround && reports.front().verticalRate < 0 &&
                                 reports.front().destination == "null";
            if (!arrival) continue;
            SCOPED_TRACE(reports.front().callsign);
            for (std::size_t i = 0; i + 1 < reports.size(); ++i) {
                if (reports[i].onGround || !reports[i + 1].onGround) continue;
                // The last airborne report is just short of a threshold, along its runway.
                const TrafficState& last = reports[i];
                bool nearThreshold = false;
                for (const Runway& r : layout.runways)
                    nearThreshold =
                        nearThreshold ||
                        (common::distanceNm(r.threshold, where(last)) * common::metresPerNm <
                             100.0 &&
                         angleBetween(r.heading, last.track) < 3.0 &&
                         std::fabs(last.altitude - r.elevation) < 30.0);
                EXPECT_TRUE(nearThreshold) << last.latitude << ", " << last.longitude;
                ++landed;
            }
            const TrafficState& end = reports.back();
            if (end.groundSpeed > 0.0) continue;  // still under way when the test stopped
            const Stand* stand = standAt(layout, end, 2.0);
            ASSERT_NE(stand, nullptr) << end.latitude << ", " << end.longitude;
            EXPECT_TRUE(end.onGround);
            EXPECT_LT(angleBetween(end.track, stand->heading), 1.0);
            // Not on the user's own stand.
            EXPECT_GT(common::distanceNm(stand->position, airport.user) * common::metresPerNm,
                      60.0);
            ++parked;
        }
        EXPECT_GT(landed, 5);
        EXPECT_GT(parked, 5);
    }
}

// Someone starting the feed sees an arrival land and park within minutes, not only after the
// quarter of an hour a full final and a long taxi would take.
TEST(RtFeedAirport, TheFirstArrivalLandsAndParksWithinMinutes) {
    for (const Airport& airport : airports) {
        SCOPED_TRACE(airport.icao);
        const AirportLayout layout = layoutOf(airport);
        SyntheticTraffic traffic(airport.user.latitude, airport.user.longitude, 0.0, 3, layout);
        std::map<std::uint32_t, std::vector<TrafficState>> arrivals;
        for (double seconds = 0; seconds < 600; seconds += 1)
            for (const TrafficState& s : traffic.at(seconds))
                if (s.destination == "null" &&
                    (arrivals.contains(s.hexid) || (!s.onGround && s.verticalRate < 0)))
                    arrivals[s.hexid].push_back(s);
        ASSERT_FALSE(arrivals.empty());
        const std::vector<TrafficState>& first = arrivals.begin()->second;
        ASSERT_FALSE(first.front().onGround);
        const auto touchdown = std::find_if(first.begin(), first.end(),
                                            [](const TrafficState& s) { return s.onGround; });
        ASSERT_NE(touchdown, first.end());
        EXPECT_GT(touchdown - first.begin(), 45) << "seen flying first";
        EXPECT_LT(touchdown - first.begin(), 90);
        const auto parked = std::find_if(touchdown, first.end(), [&](const TrafficState& s) {
            return s.groundSpeed == 0.0 && standAt(layout, s, 2.0) != nullptr;
        });
        ASSERT_NE(parked, first.end());
        EXPECT_LT(parked - first.begin(), 360);
    }
}

TEST(RtFeedAirport, DeparturesPushBackFromARealStandAndLiftOffOverARealRunway) {
    for (const Airport& airport : airports) {
        SCOPED_TRACE(airport.icao);
        const AirportLayout layout = layoutOf(airport);
        int departed = 0;
        for (const auto& [hexid, reports] : fly(layout, airport)) {
            const TrafficState& first = reports.front();
            const bool departure =
                first.onGround && first.groundSpeed == 0.0 && first.destination != "null";
            if (!departure) continue;
            SCOPED_TRACE(first.callsign);
            const Stand* stand = standAt(layout, first, 2.0);
            ASSERT_NE(stand, nullptr) << first.latitude << ", " << first.longitude;
            EXPECT_LT(angleBetween(first.track, stand->heading), 1.0);
            // The first move is a slow pushback: tail first, nose still the stand's way.
            const auto moving =
                std::find_if(reports.begin(), reports.end(), [stand](const TrafficState& s) {
                    return common::distanceNm(stand->position, where(s)) * common::metresPerNm >
                           5.0;
                });
            if (moving == reports.end()) continue;  // still at the stand when the test stopped
            EXPECT_LT(moving->groundSpeed, 5.0);
            EXPECT_LT(angleBetween(moving->track, stand->heading), 1.0);
            EXPECT_LT(
                angleBetween(common::initialBearing(stand->position, where(*moving)) * 180.0 / pi,
                             stand->heading + 180.0),
                5.0);
            const auto airborne = std::find_if(reports.begin(), reports.end(),
                                               [](const TrafficState& s) { return !s.onGround; });
            if (airborne == reports.end()) continue;  // not yet off when the test stopped
            bool overRunway = false;
            for (const Runway& r : layout.runways) {
                const OnRunway at = onRunway(r, where(*airborne));
                overRunway = overRunway ||
                             (at.along > 0.0 && at.along < r.lengthFt * 0.3048 &&
                              at.across < 30.0 && angleBetween(r.heading, airborne->track) < 3.0);
            }
            EXPECT_TRUE(overRunway) << airborne->latitude << ", " << airborne->longitude;
            if (reports.end() - airborne < 60) continue;  // lifted off just before the test stopped
            const TrafficState& end = reports.back();
            EXPECT_GT(end.altitude, airborne->altitude + 1000.0);  // climbing away
            ++departed;
        }
        EXPECT_GT(departed, 5);
    }
}

// One runway and two stands, the user standing on the first.
AirportLayout smallAirport() {
    AirportLayout layout;
    layout.icao = "ABCD";
    layout.runways.push_back({"09", {10.0, 20.0}, {10.0, 20.01}, 90.0, 100.0, 9000.0, 300.0});
    layout.stands.push_back({"A1", {10.01, 20.02}, 180.0, {{"KLM", "B738", "KLM1:KLM2"}}});
    layout.stands.push_back({"A2", {10.01, 20.025}, 180.0, {{"SWR", "A320", "SWR7:SWR8"}}});
    return layout;
}

TEST(RtFeedAirport, FlightsFitTheirStandAndLeaveTheUsersStandFree) {
    const AirportLayout layout = smallAirport();
    const Airport user{"ABCD", layout.stands[0].position};
    int onStand = 0;
    for (const auto& [hexid, reports] : fly(layout, user)) {
        for (const TrafficState& s : reports) {
            const bool linedUp =
                common::distanceNm(layout.runways[0].end, where(s)) * common::metresPerNm < 50.0;
            if (!s.onGround || s.groundSpeed > 0.0 || linedUp) continue;
            SCOPED_TRACE(s.callsign);
            const Stand* stand = standAt(layout, s, 2.0);
            ASSERT_NE(stand, nullptr);
            EXPECT_EQ(stand->id, "A2");
            EXPECT_EQ(s.type, "A320");
            EXPECT_TRUE(s.callsign == "SWR7" || s.callsign == "SWR8");
            EXPECT_EQ(s.registration.rfind("HB-J", 0), 0u) << s.registration;
            ++onStand;
        }
    }
    EXPECT_GT(onStand, 100);
}

TEST(RtFeedAirport, WithoutStandsTheTrafficIsTheOldOne) {
    AirportLayout noStands = smallAirport();
    noStands.stands.clear();
    SyntheticTraffic without(10.0, 20.0, 100.0, 5);
    SyntheticTraffic withRunwaysOnly(10.0, 20.0, 100.0, 5, noStands);
    for (double seconds = 0; seconds < 900; seconds += 7) {
        const std::vector<TrafficState> a = without.at(seconds);
        const std::vector<TrafficState> b = withRunwaysOnly.at(seconds);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].callsign, b[i].callsign);
            EXPECT_DOUBLE_EQ(a[i].latitude, b[i].latitude);
            EXPECT_DOUBLE_EQ(a[i].track, b[i].track);
        }
    }
}

TEST(RtFeedAirport, LayoutIsReadOrRefusedWithAReason) {
    const std::string header =
        "# comment\nicao,runway,end_latitude,end_longitude,threshold_latitude,threshold_longitude,"
        "heading_true,elevation_ft,displaced_threshold_ft,length_ft,width_ft\n";
    const std::string runway = "ABCD,09,10.0,20.0,10.0,20.01,90.0,100,300,9000,150\n";
    const std::string stands =
        R"(<root><parkpositions><parkpos id="A1" latitude="10.01" longitude="20.02" heading="180" )"
        R"(radius="20" type="9"><opt airl="KLM" type="B738" cs="KLM1:KLM2" /></parkpos>)"
        R"(</parkpositions></root>)";
    struct Case {
        const char* name;
        std::string runways;    // empty: no file
        std::string standFile;  // empty: no file
        common::GeoPoint near;
        bool loads;
    };
    const std::vector<Case> cases{
        {"good", header + runway, stands, {10.0, 20.0}, true},
        {"far from every runway", header + runway, stands, {12.0, 20.0}, false},
        {"no runway table", "", stands, {10.0, 20.0}, false},
        {"bad number",
         header + "ABCD,09,10.0,x,10.0,20.01,90.0,100,300,9000,150\n",
         stands,
         {10.0, 20.0},
         false},
        {"short row", header + "ABCD,09,10.0\n", stands, {10.0, 20.0}, false},
        {"no stand file", header + runway, "", {10.0, 20.0}, false},
        {"broken stand file",
         header + runway,
         "<root><parkpositions><parkpos",
         {10.0, 20.0},
         false},
        {"stand without position",
         header + runway,
         R"(<root><parkpositions><parkpos id="A1" heading="1"/></parkpositions></root>)",
         {10.0, 20.0},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        if (!c.runways.empty()) test::writeFile(folder / "runways.csv", c.runways);
        if (!c.standFile.empty()) test::writeFile(folder / "ABCD.xml", c.standFile);
        std::string problem;
        const auto layout =
            loadAirportLayout(folder / "runways.csv", folder.path(), c.near, problem);
        EXPECT_EQ(layout.has_value(), c.loads);
        EXPECT_EQ(problem.empty(), c.loads) << problem;
        if (!layout) continue;
        ASSERT_EQ(layout->runways.size(), 1u);
        EXPECT_EQ(layout->icao, "ABCD");
        EXPECT_DOUBLE_EQ(layout->runways[0].threshold.longitude, 20.01);
        EXPECT_DOUBLE_EQ(layout->runways[0].elevation, 100.0);
        ASSERT_EQ(layout->stands.size(), 1u);
        EXPECT_DOUBLE_EQ(layout->stands[0].heading, 180.0);
        ASSERT_EQ(layout->stands[0].uses.size(), 1u);
        EXPECT_EQ(layout->stands[0].uses[0].callsigns, "KLM1:KLM2");
    }
}

}  // namespace
}  // namespace corv::rtfeed
