#include <gtest/gtest.h>

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

}  // namespace
}  // namespace corv::airports
