#include <gtest/gtest.h>

#include "live/AircraftTexts.hpp"
#include "live/CallsignAirline.hpp"
#include "live/LiveFixture.hpp"

namespace corv::live {
namespace {

using AircraftTextsTest = test::LiveFixture;

TEST_F(AircraftTextsTest, IdentityRouteAndDescription) {
    const common::AircraftIdentity klm{reference.internAirline("KLM"), 0,
                                       reference.internModel("B738"), false, false};
    const common::AircraftIdentity cityflyer{reference.internAirline("BAW"),
                                             reference.internAirline("CFE"),
                                             reference.internModel("A320"), true, true};
    EXPECT_EQ(identityText(klm, reference), "KLM     B738    ");
    EXPECT_EQ(identityText(cityflyer, reference), "BAW,CFE A320.(C)");

    const common::FixedCode<3> ams("AMS"), lhr("LHR"), none;
    EXPECT_EQ(routeText(ams, lhr), "AMS->LHR");
    EXPECT_EQ(routeText(none, lhr), "   ->LHR");
    EXPECT_EQ(routeText(none, none), "        ");
    EXPECT_EQ(descriptionText({"KLM1", "PH-BXA", ams, lhr, klm}, reference),
              "KLM1     PH-BXA       AMS->LHR KLM     B738    ");
    EXPECT_EQ(noLiveryKey(klm, "PH-BXA", reference), "KLM     B738     PH-BXA");
}

TEST(CallsignAirline, ThreeLettersAndADigit) {
    EXPECT_EQ(airlineDesignatorOf("klm1234"), "KLM");
    EXPECT_EQ(airlineDesignatorOf("EZY12AB"), "EZY");
    for (const char* none : {"KLM", "PHBXA", "N123AB", "KL12", "K1M2", ""})
        EXPECT_EQ(airlineDesignatorOf(none), std::nullopt) << none;
}

}  // namespace
}  // namespace corv::live
