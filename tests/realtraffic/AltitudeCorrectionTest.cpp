#include <gtest/gtest.h>

#include <optional>

#include "Datagrams.hpp"
#include "realtraffic/AltitudeCorrection.hpp"

namespace corv::realtraffic {
namespace {

TEST(AltitudeCorrection, BlendsTheQnhCorrectionInAndDecidesTheGround) {
    struct Case {
        const char* name;
        double reported;
        double groundSpeed;
        std::int32_t qnh;
        double offset;
        bool park;
        double expected;
    };
    const Case cases[] = {
        {"below 17000 ft the report stands", 16000, 300, 990, 500, false, 16000},
        {"18000 ft with QNH 1013 is half corrected", 18000, 300, 1013, 0, false, 18003.75},
        {"from 19000 ft fully corrected", 20000, 400, 1000, 200, false, 20000 + 200 + 397.5},
        {"negative report", -50, 200, 1013, 0, false, 0},
        {"30 ft at 20 kt", 30, 20, 1013, 0, false, 0},
        {"30 ft at 36 kt without ground", 30, 36, 1013, 0, false, 30},
        {"below the park airport", 1400, 200, 1013, 0, true, 0},
        {"34 ft above it at 120 kt", 1450, 120, 1013, 0, true, 0},
        {"34 ft above it at 121 kt", 1450, 121, 1013, 0, true, 1450},
        {"84 ft above it at 80 kt", 1500, 80, 1013, 0, true, 0},
        {"84 ft above it at 81 kt", 1500, 81, 1013, 0, true, 1500},
        {"120 ft above it at 43 kt", 1536, 43, 1013, 0, true, 0},
        {"121 ft above it at 43 kt", 1537, 43, 1013, 0, true, 1537},
        {"14000 ft is never ground", 14000, 100, 1013, 0, false, 14000},
    };
    for (const Case& c : cases) {
        TrafficContext context;
        context.qnh = c.qnh;
        context.inputs.altitudeOffsetFeet = c.offset;
        if (c.park) context.inputs.parkAirport = test::zurichAirport;
        const std::optional<double> altitude =
            correctedAltitude(c.reported, c.groundSpeed, context);
        ASSERT_TRUE(altitude.has_value()) << c.name;
        EXPECT_DOUBLE_EQ(*altitude, c.expected) << c.name;
    }
}

TEST(AltitudeCorrection, AirborneOnlyRejectsWhatIsNotWellAboveThePark) {
    TrafficContext context;
    context.airborneOnly = true;
    EXPECT_FALSE(correctedAltitude(150, 200, context)) << "150 ft over no park airport";
    EXPECT_TRUE(correctedAltitude(151, 200, context));
    context.inputs.parkAirport = test::zurichAirport;
    EXPECT_FALSE(correctedAltitude(1566, 200, context));
    EXPECT_TRUE(correctedAltitude(1567, 200, context));
}

TEST(AltitudeCorrection, TrueAirspeedByAltitudeBand) {
    const std::pair<double, double> bands[] = {{0, 180},     {2000, 180},  {2001, 220},
                                               {5000, 220},  {7500, 250},  {10000, 250},
                                               {20000, 350}, {20001, 430}, {45000, 430}};
    for (const auto& [altitude, knots] : bands)
        EXPECT_EQ(estimatedTrueAirspeed(altitude), knots) << altitude;
}

}  // namespace
}  // namespace corv::realtraffic
