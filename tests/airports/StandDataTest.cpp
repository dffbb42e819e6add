#include "airports/AirportFilesFixture.hpp"
#include "airports/NearestStand.hpp"
#include "airports/QualityFactors.hpp"
#include "airports/StaysNext.hpp"

namespace corv::airports {
namespace {

OccupancyEntry entry(int day, HalfHourSet hours, bool real = true, int index = 1) {
    OccupancyEntry e;
    e.identity = {1, 0, 2, false, false};
    e.day = day;
    e.hours = hours;
    e.real = real;
    e.index = index;
    e.callsign = "KLM1";
    e.callsign2 = "KLM2";
    return e;
}

TEST(QualityFactors, WeighsRealAndSoftEntriesOfParkingStands) {
    Stand a;
    a.radius = 20.0 / 1852.0;
    a.entries = {entry(1, HalfHourSet::range(10, 19)), entry(2, HalfHourSet::range(10, 19)),
                 entry(3, HalfHourSet::range(0, 47), false), entry(4, {}, true, 0)};
    Stand fuel = a;
    fuel.type = fuelPositionType;
    Stand heli = a;
    heli.heli = true;
    Stand empty;
    // a: real 40 + 10000 + 200 + 40, soft 20 + 10000 + 100 + 96; weight shared by a and empty.
    EXPECT_EQ(computeQualityFactors({a, fuel, heli, empty}), (QualityFactors{32, 32}));
    EXPECT_EQ(computeQualityFactors({a}), (QualityFactors{64, 64}));
    EXPECT_EQ(computeQualityFactors({empty}), (QualityFactors{-1, -1}));
    EXPECT_EQ(computeQualityFactors({heli}), (QualityFactors{0, 0}));

    EXPECT_EQ(qualityText({-1, -1}), "  ");
    EXPECT_EQ(qualityText({44, 7}), "44/ 7");
    EXPECT_EQ(qualityText({45, 7}), "45");
}

TEST(StaysNext, LooksAtTheNextHalfHourOrTheSameAircraftNextDay) {
    Stand stand;
    stand.entries = {entry(7, HalfHourSet::range(40, 47)), entry(1, HalfHourSet::range(0, 3)),
                     entry(2, HalfHourSet::range(40, 47))};
    const OccupancyEntry& sunday = stand.entries[0];
    OccupancyEntry single = sunday;
    single.callsign2.clear();
    EXPECT_TRUE(staysNext(single, stand, {7, 47}));
    EXPECT_TRUE(staysNext(sunday, stand, {7, 46}));
    EXPECT_FALSE(staysNext(stand.entries[1], stand, {1, 3}));
    EXPECT_TRUE(staysNext(sunday, stand, {7, 47})) << "Sunday is followed by Monday";
    EXPECT_FALSE(staysNext(stand.entries[2], stand, {2, 47}));
    stand.entries[1].index = 0;
    EXPECT_FALSE(staysNext(sunday, stand, {7, 47})) << "a disabled entry does not count";
    stand.entries[1].index = 1;
    stand.entries[1].identity.model = 9;
    EXPECT_FALSE(staysNext(sunday, stand, {7, 47})) << "another aircraft";
}

class NearestStandTest : public test::AirportFilesTest {};

TEST_F(NearestStandTest, FindsTheNearestStandOfLocalAndSiteFiles) {
    catalogue.assign({test::catalogueAirport("EHAM", 1), test::catalogueAirport("EHAA", 0),
                      test::catalogueAirport("EHAB", 1)});
    const std::string stands =
        test::airportFile(R"(<parkpos id="far" latitude="52.2" longitude="4.76"/>)"
                          R"(<parkpos id="near" latitude="52.01" longitude="4.0"/>)"
                          R"(<parkpos id="same" latitude="52.01" longitude="4.0"/>)");
    downloader.files["downloads/P3D/archive/stock/EHAM.xml"] = stands;
    put("airports/my_ORBX/EHAA.xml", "<parkpositions>" + stands.substr(stands.find("<parkpos ")));
    const common::GeoPoint user{52.0, 4.0};

    for (const char* code : {"EHAM", "EHAA"}) {
        SCOPED_TRACE(code);
        std::string id;
        EXPECT_NEAR(gf_readDestApfForClosestStand(work.path(), catalogue, downloader,
                                                  AirportCode(code), user, id),
                    0.6, 1e-6);
        EXPECT_EQ(id, "near");
    }
    EXPECT_FALSE(std::filesystem::exists(work / "airport.xml"));
    std::string id;
    EXPECT_EQ(gf_readDestApfForClosestStand(work.path(), catalogue, downloader, AirportCode("EHAB"),
                                            user, id),
              noStandDistanceNm);
    EXPECT_EQ(gf_readDestApfForClosestStand(work.path(), catalogue, downloader, AirportCode("EHXX"),
                                            user, id),
              noStandDistanceNm);
}

}  // namespace
}  // namespace corv::airports
