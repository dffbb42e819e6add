#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>

#include <pugixml.hpp>

#include "airports/AirportFileXml.hpp"
#include "airports/NoAircraftIdentities.hpp"
#include "scan/AirportBglRead.hpp"
#include "scan/FullAirportFile.hpp"
#include "scan/ScanHarness.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

namespace fs = std::filesystem;

fs::path sharedData() {
    const char* configured = std::getenv("CORV_SHARED_DATA");
    return configured && *configured ? fs::path(configured) : fs::path(CORV_SHARED_DATA_DIR);
}

// Parking type and name codes of the scenery compiler for the values the test airport uses.
const std::map<std::string, int> parkingTypes{{"RAMP_GA_SMALL", 2}, {"GATE_SMALL", 8}};
const std::map<std::string, std::string> namePrefixes{{"GATE", "g"}, {"PARKING", "p"}};

// Each compiled test airport decodes to the parking spots and helipad of the XML it was
// compiled from.
class RealScenery : public ::testing::TestWithParam<const char*> {};

TEST_P(RealScenery, DecodesToThePositionsOfItsSource) {
    const fs::path bgl = sharedData() / "bgl" / (std::string(GetParam()) + ".bgl");
    const fs::path xml = sharedData() / "bgl" / (std::string(GetParam()) + ".xml");
    if (!fs::exists(bgl) || !fs::exists(xml))
        GTEST_SKIP() << "shared scenery data not found: " << bgl << " (set CORV_SHARED_DATA)";
    std::vector<std::uint8_t> buffer;
    platform::ReadOnlyFile file(bgl.c_str());
    const auto bytes = scan::readAirportBgl(file, buffer);
    ASSERT_TRUE(bytes);

    pugi::xml_document source;
    ASSERT_TRUE(source.load_file(xml.c_str()));
    const pugi::xml_node airportXml = source.child("FSData").child("Airport");

    Decoded decoded;
    scan::lf_processBGLfile(*bytes, bgl.string(), decoded.messages, recordingSteps(decoded));
    ASSERT_EQ(decoded.airports.size(), 1U);
    const scan::ScannedAirport& airport = decoded.airports[0];
    EXPECT_EQ(airport.code.view(), airportXml.attribute("ident").value());
    EXPECT_EQ(airport.name, airportXml.attribute("name").value());
    EXPECT_EQ(airport.altitude, std::lround(airportXml.attribute("alt").as_double() * 3.2808399));
    EXPECT_THAT(decoded.messages, ::testing::IsEmpty());

    std::vector<scan::ScannedStand> expected;
    for (const pugi::xml_node helipad : airportXml.children("Helipad")) {
        scan::ScannedStand stand;
        stand.id = "helipad" + std::to_string(expected.size() + 1);
        stand.latitude = helipad.attribute("lat").as_double();
        stand.longitude = helipad.attribute("lon").as_double();
        // The version 6 compiler stores the heading of the helipad's scenery object instead.
        const pugi::xml_node object = helipad.child("SceneryObject");
        stand.heading =
            (object ? object : helipad).attribute("heading").as_double() * std::numbers::pi / 180.0;
        // Widths in feet ("60F").
        stand.radius = helipad.attribute("width").as_double() * 0.3048 / 2.0 / 1852.0;
        stand.heli = true;
        expected.push_back(stand);
    }
    for (const pugi::xml_node parking : airportXml.children("TaxiwayParking")) {
        scan::ScannedStand stand;
        stand.id = namePrefixes.at(parking.attribute("name").value()) +
                   parking.attribute("number").value();
        stand.latitude = parking.attribute("lat").as_double();
        stand.longitude = parking.attribute("lon").as_double();
        stand.heading = parking.attribute("heading").as_double() * std::numbers::pi / 180.0;
        stand.radius = parking.attribute("radius").as_double() / 1852.0;
        stand.type = static_cast<std::int16_t>(parkingTypes.at(parking.attribute("type").value()));
        stand.airlineCodes = parking.attribute("airlineCodes").value();
        expected.push_back(stand);
    }
    ASSERT_EQ(airport.stands.size(), expected.size());
    EXPECT_THAT(decoded.helipads, ::testing::ElementsAre(1));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].id);
        const scan::ScannedStand& got = airport.stands[i];
        EXPECT_EQ(got.id, expected[i].id);
        EXPECT_NEAR(got.latitude, expected[i].latitude, 1e-6);
        EXPECT_NEAR(got.longitude, expected[i].longitude, 1e-6);
        EXPECT_NEAR(got.heading, expected[i].heading, 1e-4);
        EXPECT_NEAR(got.radius, expected[i].radius, 1e-7);
        EXPECT_EQ(got.type, expected[i].type);
        EXPECT_EQ(got.heli, expected[i].heli);
        EXPECT_EQ(got.airlineCodes, expected[i].airlineCodes);
    }

    // Written as a full airport file, the stands read back as the program reads stands.
    const TempFolder folder;
    const airports::NoAircraftIdentities identities;
    ASSERT_TRUE(scan::fullAirportFileWriter(identities, 3)(folder / "KTST.xml", airport));
    pugi::xml_document written;
    ASSERT_TRUE(written.load_file((folder / "KTST.xml").c_str()));
    const auto stands = airports::readStandList(
        airports::listsParent(written).child("parkpositions"), identities, 1);
    ASSERT_EQ(stands.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(stands[i].id, expected[i].id);
        EXPECT_NEAR(stands[i].latitude, expected[i].latitude, 1e-6);
        EXPECT_NEAR(stands[i].longitude, expected[i].longitude, 1e-6);
        EXPECT_NEAR(stands[i].radius * 1852.0, expected[i].radius * 1852.0, 0.05);
        EXPECT_EQ(stands[i].type, expected[i].type);
        EXPECT_EQ(stands[i].heli, expected[i].heli);
    }
}

INSTANTIATE_TEST_SUITE_P(Compiled, RealScenery,
                         ::testing::Values("KTST_TestAirport_v5", "KTST_TestAirport_v6"));

}  // namespace
}  // namespace corv::test
