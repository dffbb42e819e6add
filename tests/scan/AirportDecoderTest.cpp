#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numbers>
#include <string>

#include "scan/ScanHarness.hpp"

namespace corv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double twoPi = 2.0 * std::numbers::pi;

TEST(AirportDecoder, ReadsParkingEntriesOfBothFormsAtTheirStride) {
    for (const bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "extended" : "standard");
        const Bytes file =
            oneAirport({nameRecord("Schiphol"),
                        parkingListRecord(
                            extended, {{10, 8, 12, {"KLM", "DLH"}, 24.0F, 90.0F, 52.31, 4.76},
                                       {1, 13, 5, {"TRA"}, 10.0F, 10.0F, 52.32, 4.77},  // vehicles
                                       {14, 2, 7, {}, 15.0F, 270.0F, 52.33, 4.78},
                                       {0, 0, 3, {}, 15.0F, 1.0F, 52.34, 4.79}}),  // no parking
                        nameRecord("Schiphol")},
                       extended);
        const Decoded decoded = decodeBytes(file);
        ASSERT_EQ(decoded.airports.size(), 1U);
        const auto& airport = decoded.airports[0];
        EXPECT_EQ(airport.code.view(), "EHAM");
        EXPECT_EQ(airport.name, "Schiphol");
        ASSERT_THAT(standIds(airport), ElementsAre("g12", "C7"));
        const auto& gate = airport.stands[0];
        EXPECT_NEAR(gate.latitude, 52.31, 1e-6);
        EXPECT_NEAR(gate.longitude, 4.76, 1e-6);
        EXPECT_NEAR(gate.heading, std::numbers::pi / 2, 1e-9);
        EXPECT_NEAR(gate.radius, 24.0 / 1852.0, 1e-12);
        EXPECT_EQ(gate.type, 8);
        EXPECT_FALSE(gate.heli);
        EXPECT_EQ(gate.airlineCodes, "KLM,DLH");
        EXPECT_NEAR(airport.stands[1].latitude, 52.33, 1e-6);
        EXPECT_EQ(airport.stands[1].type, 2);
        EXPECT_THAT(decoded.messages, IsEmpty());
    }
}

TEST(AirportDecoder, NamePrefixesFollowTheScenerysNameCodes) {
    std::vector<ParkingEntry> entries;
    for (unsigned code : {0U, 1U, 2U, 3U, 9U, 10U, 11U, 12U, 37U, 38U, 63U})
        entries.push_back({code, 1, 4, {}, 10.0F, 5.0F, 52.3 + code * 0.001, 4.7});
    const Decoded decoded = decodeBytes(oneAirport({parkingListRecord(false, entries)}));
    ASSERT_EQ(decoded.airports.size(), 1U);
    // Codes without a prefix give the same candidate "4", so they are told apart by suffixes.
    EXPECT_THAT(standIds(decoded.airports[0]),
                ElementsAre("4", "p4", "np4", "nep4", "nwp4", "g4", "4a", "A4", "Z4", "4b", "4c"));
}

TEST(AirportDecoder, EqualStandNamesGetSuffixesUpToTenThenAreReported) {
    std::vector<ParkingEntry> entries;
    for (int i = 0; i < 12; ++i)
        entries.push_back({10, 8, 12, {}, 20.0F, 90.0F, 52.3 + i * 1e-3, 4.7});
    const Decoded decoded = decodeBytes(oneAirport({parkingListRecord(false, entries)}));
    ASSERT_EQ(decoded.airports.size(), 1U);
    EXPECT_THAT(standIds(decoded.airports[0]),
                ElementsAre("g12", "g12a", "g12b", "g12c", "g12d", "g12e", "g12f", "g12g", "g12h",
                            "g12i", "g12j"));
    EXPECT_THAT(decoded.messages,
                ElementsAre("===> Warning: more than 10 duplicate IDs g12 in test.bgl"));
}

TEST(StandId, HoldsTheLongestIdsAStandCanGet) {
    const struct {
        std::string_view prefix;
        unsigned number;
        std::string_view id;
        std::string_view suffixed;
    } cases[] = {
        {"", 0, "0", "0a"}, {"g", 12, "g12", "g12j"}, {"nwp", 4095, "nwp4095", "nwp4095j"}};
    for (const auto& c : cases) {
        const scan::StandId id = scan::StandId::candidate(c.prefix, c.number);
        EXPECT_EQ(id.text(), c.id);
        EXPECT_EQ(id.withSuffix(c.suffixed.back()).text(), c.suffixed);
        EXPECT_NE(id.packed(), id.withSuffix(c.suffixed.back()).packed());
    }
}

TEST(StandIdSet, KeepsEveryIdItWasGivenAsItGrows) {
    scan::StandIdSet ids;
    std::size_t accepted = 0;
    for (unsigned i = 0; i < 1000; ++i)
        accepted += ids.insert(scan::StandId::candidate("g", i)) ? 1 : 0;
    std::size_t acceptedAgain = 0;
    for (unsigned i = 0; i < 1000; ++i)
        acceptedAgain += ids.insert(scan::StandId::candidate("g", i)) ? 1 : 0;
    EXPECT_EQ(accepted, 1000U);
    EXPECT_EQ(acceptedAgain, 0U);
    EXPECT_EQ(ids.size(), 1000U);
}

TEST(AirportDecoder, HeadingZeroMeansNorthForStandsButStaysZeroForHelipads) {
    const Decoded decoded = decodeBytes(
        oneAirport({helipadRecord(52.30, 4.70, 30.0F, 0.0F),
                    parkingListRecord(false, {{10, 8, 1, {}, 20.0F, 0.0F, 52.31, 4.71},
                                              {10, 8, 2, {}, 20.0F, 360.0F, 52.32, 4.72}})}));
    ASSERT_EQ(decoded.airports.size(), 1U);
    const auto& stands = decoded.airports[0].stands;
    ASSERT_THAT(standIds(decoded.airports[0]), ElementsAre("helipad1", "g1", "g2"));
    EXPECT_EQ(stands[0].heading, 0.0);
    EXPECT_NEAR(stands[0].radius, 15.0 / 1852.0, 1e-12);
    EXPECT_TRUE(stands[0].heli);
    EXPECT_EQ(stands[0].type, 0);
    EXPECT_NEAR(stands[1].heading, twoPi, 1e-12);
    EXPECT_NEAR(stands[2].heading, twoPi, 1e-6);
}

TEST(AirportDecoder, HelipadsAreNumberedAndDuplicatesOrBadPositionsSkipped) {
    const Decoded decoded = decodeBytes(oneAirport({
        nameRecord("Heliport"),
        helipadRecord(52.30, 4.70, 20.0F, 45.0F),
        helipadRecord(52.30, 4.70, 20.0F, 45.0F),  // the same spot again
        helipadRecord(0.0, 0.0, 20.0F, 45.0F),     // no position
        helipadRecord(52.31, 4.71, 20.0F, 45.0F),
    }));
    ASSERT_EQ(decoded.airports.size(), 1U);
    EXPECT_THAT(standIds(decoded.airports[0]), ElementsAre("helipad1", "helipad2"));
    EXPECT_THAT(decoded.helipads, ElementsAre(2));
    EXPECT_THAT(decoded.messages,
                ElementsAre("double helipad Heliport (skipped) 52.300000,4.700000",
                            "lat/lon helipad incorrect (skipped): 0.000000,0.000000"));
}

TEST(AirportDecoder, ParkingWithoutPositionIsReportedAndTheRestKept) {
    const Decoded decoded = decodeBytes(
        oneAirport({parkingListRecord(false, {{10, 8, 1, {}, 20.0F, 90.0F, 0.0, 0.0},
                                              {10, 8, 2, {}, 20.0F, 90.0F, 52.3, 4.7}})}));
    ASSERT_EQ(decoded.airports.size(), 1U);
    EXPECT_THAT(standIds(decoded.airports[0]), ElementsAre("g2"));
    EXPECT_THAT(decoded.messages, ElementsAre("LatLon 0.000000,0.000000 invalid (skipped)"));
}

TEST(AirportDecoder, AirportWithoutParkingListOrHelipadsHasNoStands) {
    const Decoded decoded = decodeBytes(oneAirport({nameRecord("Empty field")}));
    ASSERT_EQ(decoded.airports.size(), 1U);
    EXPECT_THAT(decoded.airports[0].stands, IsEmpty());
    EXPECT_THAT(decoded.helipads, ElementsAre(0));
}

TEST(AirportDecoder, AltitudeInFeetWithImplausibleValuesAsZero) {
    const struct {
        std::int32_t millimetres;
        std::int32_t feet;
    } cases[] = {{-3000, -10}, {-7000, 0}, {3048000, 10000}, {4000000, 0}, {199339, 654}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.millimetres);
        const Decoded decoded = decodeBytes(oneAirport({}, false, c.millimetres));
        ASSERT_EQ(decoded.airports.size(), 1U);
        EXPECT_EQ(decoded.airports[0].altitude, c.feet);
    }
}

TEST(AirportDecoder, DifferingNamesCancelOutUntilAThirdOne) {
    const struct {
        std::vector<std::string> names;
        std::string expected;
    } cases[] = {
        {{"Alpha"}, "Alpha"},
        {{"Alpha", "Bravo"}, ""},
        {{"Alpha", "Bravo", "Charlie"}, "Charlie"},
        {{std::string("Padded\0\0", 8)}, "Padded"},
        {{std::string(50, 'x')}, std::string(45, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        std::vector<Bytes> subrecords;
        for (const auto& name : c.names)
            subrecords.push_back(nameRecord(name));
        const Decoded decoded = decodeBytes(oneAirport(subrecords));
        ASSERT_EQ(decoded.airports.size(), 1U);
        EXPECT_EQ(decoded.airports[0].name, c.expected);
    }
}

}  // namespace
}  // namespace corv::test
