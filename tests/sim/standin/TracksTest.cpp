#include <gtest/gtest.h>

#include <numbers>
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

    InitPosition parked;
    parked.latitude = 52.31;
    parked.longitude = 4.76;
    parked.heading = 90.0;
    parked.onGround = true;
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

}  // namespace
}  // namespace corv::sim::standin::test
