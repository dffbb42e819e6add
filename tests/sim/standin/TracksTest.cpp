#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <regex>
#include <string>

#include "sim/DefinitionData.hpp"
#include "sim/standin/StandInHarness.hpp"

namespace corv::sim::standin::test {
namespace {

const char* const header =
    "time,object,atc_id,title,latitude,longitude,altitude_ft,pitch_deg,bank_deg,heading_deg,"
    "on_ground\n";
// Created parked at EHAM (ground -11 ft, an airliner's centre of gravity 9 ft above it), at the
// harness clock's 2024-03-01 12:34:56 UTC.
const char* const created =
    "1709296496.000,100,KLM1,\"Test A320 KLM, winglets\",52.3100000,4.7600000,-2.0,0.00,0.00,"
    "90.00,1\n";

void move(StandInSimulator& sim, ObjectId id, double latitude, double altitudeFeet) {
    DefinitionWriter position;
    position.float64(latitude).float64(4.77).float64(-0.05).float64(0.1).float64(std::numbers::pi);
    position.float64(altitudeFeet).float64(10.0).float64(140.0);
    ASSERT_EQ(sim.setDataOnSimObject(define::aiPosition, id, position.bytes()), 0);
}

TEST(StandInTracks, RecordsEveryPositionUpdateInDegreesAndWritesItOutEverySecond) {
    StandInHarness h;
    const auto folder = h.install / "extra";
    std::filesystem::create_directories(folder / "plane");
    corv::test::writeFile(folder / "plane" / "aircraft.cfg",
                          fltsimConfig({"Test A320 KLM, winglets"}, 150000));
    auto& sim = h.start({folder});
    ASSERT_EQ(sim.open("Corvane_P3D"), 0);
    h.declare();
    const auto tracks = h.install / "standin-tracks.csv";

    const InitPosition parked = parkedAt(52.31, 4.76, 90.0);
    ASSERT_EQ(sim.aiCreateNonAtcAircraft("Test A320 KLM, winglets", "KLM1", parked, 104), 0);
    h.clock->advance(100ms);
    move(sim, 100, 52.32, 1500.0);
    // Data that moves nothing adds no line.
    DefinitionWriter landingRoll;
    landingRoll.float64(100.0).float64(-100.0).float64(-100.0);
    ASSERT_EQ(sim.setDataOnSimObject(define::landingRoll, 100, landingRoll.bytes()), 0);
    const std::string moved =
        "1709296496.100,100,KLM1,\"Test A320 KLM, winglets\",52.3200000,4.7700000,1500.0,-2.86,"
        "5.73,180.00,0\n";
    EXPECT_EQ(corv::test::readFile(tracks), header) << "held back within the second";

    h.run(1000ms);
    EXPECT_EQ(corv::test::readFile(tracks), std::string(header) + created + moved);

    move(sim, 100, 52.33, 1600.0);
    ASSERT_EQ(sim.close(), 0);
    EXPECT_EQ(corv::test::readFile(tracks),
              std::string(header) + created + moved +
                  "1709296497.100,100,KLM1,\"Test A320 KLM, winglets\",52.3300000,4.7700000,"
                  "1600.0,-2.86,5.73,180.00,0\n")
        << "written out when the client closes";
}

// Every line the picture draws: its colour and its number of corners, in order.
std::vector<std::pair<std::string, std::size_t>> trailLines(const std::string& svg) {
    std::vector<std::pair<std::string, std::size_t>> lines;
    const std::regex line(R"re(<polyline points="([^"]*)" fill="none" stroke="([^"]*)")re");
    for (std::sregex_iterator it(svg.begin(), svg.end(), line), end; it != end; ++it) {
        const std::string corners = (*it)[1];
        lines.emplace_back((*it)[2], std::count(corners.begin(), corners.end(), ' ') + 1);
    }
    return lines;
}

TEST(StandInTracks, ThePictureDrawsTheWayEachObjectCameOnTheGroundAndInTheAir) {
    StandInHarness h;
    auto& sim = h.startAndOpen();
    const InitPosition parked = parkedAt(52.31, 4.76, 90.0);
    ASSERT_EQ(sim.aiCreateNonAtcAircraft("Test A320 KLM", "KLM1", parked, 104), 0);
    const auto step = [&](std::chrono::milliseconds after, double latitude, double altitude) {
        h.clock->advance(after);
        move(sim, 100, latitude, altitude);
    };
    step(1000ms, 52.311, -2.0);  // within two seconds of the last point: not drawn
    step(1000ms, 52.312, -2.0);
    step(500ms, 52.313, 1500.0);  // lifted off: drawn at once
    step(2000ms, 52.32, 1500.0);
    const std::vector<std::pair<std::string, std::size_t>> expected{
        {"#8c564b", 3},  // created, 52.312, on to the first point in the air
        {"#1f77b4", 3},  // the first point in the air, 52.32, where it is now
    };
    EXPECT_EQ(trailLines(sim.snapshotSvg(5.0)), expected);
}

}  // namespace
}  // namespace corv::sim::standin::test
