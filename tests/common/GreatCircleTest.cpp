#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "common/GreatCircle.hpp"

namespace corv::common {
namespace {

constexpr double pi = std::numbers::pi;

TEST(GreatCircle, OneMinuteOfArcIsOneNauticalMile) {
    EXPECT_NEAR(distanceNm({0, 0}, {1.0 / 60.0, 0}), 1.0, 1e-9);
    EXPECT_NEAR(distanceNm({0, 0}, {0, 90}), 5400.0, 1e-6);
    EXPECT_NEAR(distanceNm({10, 20}, {10, 20}), 0.0, 1e-12);
    // Amsterdam Schiphol to London Heathrow, about 200 nm.
    EXPECT_NEAR(distanceNm({52.3086, 4.7639}, {51.4706, -0.4619}), 199.6, 0.5);
}

TEST(GreatCircle, InitialBearingIsInZeroToTwoPi) {
    struct Case {
        GeoPoint to;
        double bearing;
    };
    for (const Case& c :
         {Case{{1, 0}, 0.0}, Case{{0, 1}, pi / 2}, Case{{-1, 0}, pi}, Case{{0, -1}, 3 * pi / 2}}) {
        const double b = initialBearing({0, 0}, c.to);
        EXPECT_NEAR(b, c.bearing, 1e-9);
        EXPECT_GE(b, 0.0);
        EXPECT_LT(b, 2 * pi);
    }
    // Just west of north must not come out as 2 pi or negative.
    const double nearlyNorth = initialBearing({0, 0}, {1, -1e-12});
    EXPECT_GE(nearlyNorth, 0.0);
    EXPECT_LT(nearlyNorth, 2 * pi);
}

TEST(GreatCircle, DestinationPointInvertsDistanceAndBearing) {
    const GeoPoint start{47.4647, 8.5492};
    for (double bearing : {0.0, 1.0, 2.5, 4.0, 6.0}) {
        for (double distance : {0.5, 12.0, 250.0}) {
            const GeoPoint end = destinationPoint(start, bearing, distance);
            EXPECT_NEAR(distanceNm(start, end), distance, 1e-6);
            EXPECT_NEAR(initialBearing(start, end), bearing, 1e-6);
        }
    }
    // Crossing the date line keeps the longitude in [-180, 180).
    const GeoPoint east = destinationPoint({0, 179.9}, pi / 2, 60);
    EXPECT_NEAR(east.longitude, -179.1, 1e-6);
}

}  // namespace
}  // namespace corv::common
