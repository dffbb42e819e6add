#include <gtest/gtest.h>

#include <vector>

#include "airports/StandSearch.hpp"

namespace corv::airports {
namespace {

constexpr double metre = 1.0 / 1852.0;

Stand standAt(double metresEast, std::int16_t type, double radiusMetres = 20.0) {
    Stand stand;
    stand.latitude = 52.0;
    stand.longitude = 4.0 + metresEast * metre / (60.0 * 0.6156615);
    stand.radius = radiusMetres * metre;
    stand.type = type;
    return stand;
}

TEST(StandSearch, TheParkingTypeSaysWhichClassesFit) {
    struct Case {
        std::int16_t type;
        int aircraftClass;
        bool fits;
    };
    for (const Case c :
         {Case{1, 0, true}, Case{1, 2, false}, Case{3, 4, true}, Case{8, 2, true},
          Case{8, 3, false}, Case{5, 3, true}, Case{9, 2, true}, Case{10, 2, false},
          Case{10, 3, true}, Case{11, 5, true}, Case{12, 3, true}, Case{13, 2, false}}) {
        EXPECT_EQ(fitsStand(standAt(0, c.type), c.aircraftClass, 18 * metre), c.fits)
            << "type " << c.type << " class " << c.aircraftClass;
    }
    // Without a type the radius decides, with 1.8 m to spare.
    EXPECT_TRUE(fitsStand(standAt(0, 0, 20.0), 2, 21.7 * metre));
    EXPECT_FALSE(fitsStand(standAt(0, 0, 20.0), 2, 21.9 * metre));
}

TEST(StandSearch, NearestFittingStandOrATooSmallOneRightUnderTheAircraft) {
    std::vector<Stand> stands{standAt(0, 9), standAt(40, 10), standAt(80, 9)};
    for (std::int32_t i = 0; i < 3; ++i)
        stands[static_cast<std::size_t>(i)].number = i + 1;
    const common::GeoPoint nearSecond{52.0, stands[1].longitude};
    const StandSeeker heavy{3, 30 * metre, "KLM1", {}};
    const StandSeeker large{2, 18 * metre, "KLM2", {}};
    // The heavy gate fits the heavy; for a narrow-body it is too small a match by type, but it
    // stands right on it.
    ASSERT_TRUE(findStandFor(stands, nearSecond, 55 * metre, false, heavy));
    EXPECT_EQ(findStandFor(stands, nearSecond, 55 * metre, false, heavy)->number, 2);
    const auto forced = findStandFor(stands, nearSecond, 55 * metre, false, large);
    ASSERT_TRUE(forced);
    EXPECT_EQ(forced->number, 2);
    EXPECT_TRUE(forced->forced);
    // 25 m off the heavy gate the narrow-body takes the nearest stand it fits.
    const common::GeoPoint between{52.0, stands[1].longitude + 25 * metre / (60.0 * 0.6156615)};
    EXPECT_EQ(findStandFor(stands, between, 55 * metre, false, large)->number, 3);
    // A helicopter stand is for helicopters only.
    stands[2].heli = true;
    EXPECT_FALSE(findStandFor(stands, between, 55 * metre, false, large).has_value());
}

}  // namespace
}  // namespace corv::airports
