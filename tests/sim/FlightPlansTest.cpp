#include <gtest/gtest.h>

#include "sim/FlightPlans.hpp"
#include "sim/SimClientFixture.hpp"

namespace corv::sim {
namespace {

TEST(FlightPlans, TextIsIfrForJetsAndHeaviesAndVfrOtherwise) {
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<SimBase.Document Type=\"AceXML\" version=\"4,3\">\n"
        "<FlightPlan.FlightPlan>\n"
        "<FPType>{}</FPType>\n"
        "<DepartureID>AMS</DepartureID>\n"
        "<DestinationID>{}</DestinationID>\n"
        "</FlightPlan.FlightPlan>\n"
        "</SimBase.Document>\n"
        "\n";
    struct Case {
        int category;
        const char* type;
    };
    for (const Case& c : {Case{0, "VFR"}, Case{1, "IFR"}, Case{2, "IFR"}, Case{3, "IFR"},
                          Case{4, "VFR"}, Case{5, "VFR"}}) {
        EXPECT_EQ(flightPlanText("AMS", "FRA", c.category),
                  fmt::format(fmt::runtime(expected), c.type, "FRA"))
            << c.category;
    }
    EXPECT_EQ(flightPlanText("AMS", "", 3), fmt::format(fmt::runtime(expected), "IFR", "   "));
}

TEST(FlightPlans, FolderIsMadeAndRemovedWithItsFiles) {
    test::TempFolder appData;
    const auto folder = flightPlanFolder(appData.path());
    EXPECT_EQ(folder, appData.path() / "Corvane_P3D" / "orig_dest");
    EXPECT_TRUE(gf_createFlightPlanFolder(folder));
    EXPECT_TRUE(writeFlightPlanFile(flightPlanFile(folder, 12), "x"));
    EXPECT_TRUE(std::filesystem::exists(folder / "12.pln"));
    gf_removeFlightPlan(folder, 12);
    EXPECT_FALSE(std::filesystem::exists(folder / "12.pln"));
    gf_removeFlightPlan(folder, 13);  // an aircraft without a plan: nothing to delete
    gf_removeFlightPlanFolder(folder);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

using FlightPlanClientTest = test::SimClientTest;

TEST_F(FlightPlanClientTest, PlanIsSetOnlyWithBothCodes) {
    client.createFlightPlanFolder();
    const auto folder = flightPlanFolder(this->folder.path());
    EXPECT_FALSE(client.setFlightPlan(40, "AMS", "", 2, "KLM1"));
    EXPECT_FALSE(std::filesystem::exists(folder / "40.pln"));
    EXPECT_TRUE(sim->calls.empty());

    EXPECT_TRUE(client.setFlightPlan(41, "AMS", "FRA", 2, "KLM2"));
    EXPECT_EQ(test::readFile(folder / "41.pln"), flightPlanText("AMS", "FRA", 2));
    EXPECT_EQ(sim->calls, (std::vector<std::string>{
                              fmt::format("flightplan 41 {} 110", (folder / "41.pln").string())}));

    sim->failing.insert("flightplan");
    EXPECT_FALSE(client.setFlightPlan(42, "AMS", "FRA", 2, "KLM3 B738"));
    EXPECT_TRUE(logged.contains("KLM3 B738 creating a flight plan failed"));
    client.removeFlightPlanFolder();
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace corv::sim
