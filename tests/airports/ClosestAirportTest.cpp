#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "airports/ClosestAirport.hpp"
#include "support/LogCapture.hpp"

namespace corv::airports {
namespace {

const common::GeoPoint user{52.0, 4.0};

// An airport the given distance north of the user: one nautical mile per minute of latitude.
CatalogueAirport airportNorth(const char* code, double nm) {
    CatalogueAirport airport;
    airport.code = AirportCode(code);
    airport.iata = IataCode("XXX");
    airport.latitude = user.latitude + nm / 60.0;
    airport.longitude = user.longitude;
    return airport;
}

struct Case {
    const char* name;
    std::vector<double> distances;  // of AAAA, BBBB, CCCC in this order
    std::map<std::string, double> standNm;
    const char* expected;  // nullptr: none
    std::vector<std::string> lines;
};

TEST(ClosestAirport, PicksBestOrTheNeighbourWithTheCloserStand) {
    const Case cases[] = {
        {"closer one after, its stand closer",
         {4.0, 3.0},
         {{"AAAA", 0.3}, {"BBBB", 0.2}},
         "BBBB",
         {"Airport BBBB is closest, neighbour is AAAA"}},
        {"stands at equal distance",
         {4.0, 3.0},
         {{"AAAA", 0.2}, {"BBBB", 0.2}},
         "BBBB",
         {"Airport BBBB is closest, neighbour is AAAA"}},
        {"neighbour's stand closer",
         {4.0, 3.0},
         {{"AAAA", 0.1}, {"BBBB", 0.5}},
         "AAAA",
         {"Airport BBBB is closest, neighbour is AAAA",
          "Airport BBBB is closest, but stand AAAA-7 at neighbouring airport AAAA is closer at 185 "
          "meters ..."}},
        {"no stand data at the best", {4.0, 3.0}, {{"AAAA", 0.1}, {"BBBB", 100.0}}, "AAAA", {}},
        // The farther one comes second and is never closer than the best: no neighbour.
        {"closer one first", {3.0, 4.0}, {}, "AAAA", {}},
        // The neighbour is the displaced best, not the second closest.
        {"displaced best is the neighbour",
         {4.0, 3.0, 3.5},
         {{"AAAA", 0.3}, {"BBBB", 0.2}},
         "BBBB",
         {"Airport BBBB is closest, neighbour is AAAA"}},
        {"single airport in sight", {4.9, 30.0}, {}, "AAAA", {}},
        {"nobody within 5 nm", {5.1, 20.0}, {}, nullptr, {}},
    };
    const char* codes[] = {"AAAA", "BBBB", "CCCC"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::LogCapture logged;
        std::vector<CatalogueAirport> airports;
        for (std::size_t i = 0; i < c.distances.size(); ++i)
            airports.push_back(airportNorth(codes[i], c.distances[i]));
        AirportCatalogue catalogue;
        catalogue.assign(airports);

        std::vector<std::string> asked;
        const NearestStandLookup lookup = [&](const AirportCode& code, const common::GeoPoint&,
                                              std::string& standId) {
            asked.push_back(code.str());
            standId = code.str() + "-7";
            return c.standNm.at(code.str());
        };
        const CatalogueAirport* found = findClosestAirport(catalogue, user, lookup);

        if (c.expected == nullptr) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(found->code.view(), c.expected);
        }
        EXPECT_EQ(asked.size(), c.standNm.size());  // stands only for a best with a neighbour
        for (const std::string& line : c.lines)
            EXPECT_TRUE(logged.contains(line)) << line;
    }
}

TEST(ClosestAirport, SearchesAgainOnlyWhenTheUserMovedAndLogsEachPairOnce) {
    test::LogCapture logged;
    AirportCatalogue catalogue;
    catalogue.assign({airportNorth("AAAA", 4.0), airportNorth("BBBB", 3.0)});
    int lookups = 0;
    const NearestStandLookup lookup = [&](const AirportCode& code, const common::GeoPoint&,
                                          std::string& standId) {
        ++lookups;
        standId = code.str() + "-7";
        return code.str() == "AAAA" ? 0.1 : 0.5;
    };
    const std::string choice = "Airport BBBB is closest, neighbour is AAAA";
    const auto timesLogged = [&](const std::string& line) {
        const std::vector<std::string> lines = logged.lines();
        return std::count(lines.begin(), lines.end(), line);
    };

    ClosestAirportSearch search;
    for (int second = 0; second < 5; ++second) {  // parked: the same position every second
        ASSERT_NE(search.update(catalogue, user, lookup), nullptr);
    }
    EXPECT_EQ(lookups, 2) << "the stands of both airports are looked up once";
    EXPECT_EQ(timesLogged(choice), 1);

    const common::GeoPoint taxiing{user.latitude + 0.0001, user.longitude};
    EXPECT_EQ(search.update(catalogue, taxiing, lookup)->code.view(), "AAAA");
    EXPECT_EQ(lookups, 4) << "moved: searched again";
    EXPECT_EQ(timesLogged(choice), 1) << "the same pair is not logged again";

    const common::GeoPoint away{user.latitude - 0.5, user.longitude};  // nothing in sight
    EXPECT_EQ(search.update(catalogue, away, lookup), nullptr);
    search.update(catalogue, user, lookup);
    EXPECT_EQ(timesLogged(choice), 2) << "the pair came back";
}

}  // namespace
}  // namespace corv::airports
