#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/EncryptedFile.hpp"
#include "liveries/MatchSummary.hpp"
#include "liveries/MatchingFixture.hpp"
#include "liveries/MatchingIndexesLog.hpp"
#include "liveries/MatchingPreparation.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"

namespace corv::liveries {
namespace {

using Strings = std::vector<std::string>;

class MatchingReportsTest : public test::MatchingFixture {
  protected:
    MatchingReportsTest() { test::resetParameters(); }
    ~MatchingReportsTest() override { test::resetParameters(); }
};

TEST_F(MatchingReportsTest, TheIndexesAreLoggedAndCategoriesWithoutLiveriesSwitchedOff) {
    build({livery("KLM 738", "KLM", "B738", "PH-BXA"), livery("KLM 320", "KLM", "A320"),
           livery("KLM cargo", "KLM", "B744", "", true),
           livery("AAL by Mesa", "AAL", "A320", "", false, "ASH"),
           livery("Generic 738", "ZZZ", "B738"), livery("Generic C172", "ZZZ", "C172"),
           livery("Private C25A", "PVT", "C25A", "N1")});
    settings::HIGH_PERF_AIRCRAFT.setCurrent(false);  // already off: left alone
    Strings switchedOff;
    logMatchingIndexes(*indexes, [&](settings::CheckBox& parameter) {
        switchedOff.push_back(parameter.name());
        parameter.setCurrent(false);
    });
    // Similar types: KLM's A320 for A319 and A321, B738 and B744 for each other and for B77W;
    // the Mesa operator's A320 for A319 and A321; ZZZ's B738 for B744 and B77W, C172 for C182.
    // The composite AALASH and ZZZ count as airlines.
    EXPECT_EQ(loggedLines(),
              (Strings{"    2 registration codes",
                       "    3 airlines, 3 pax aircraft models and 1 cargo aircraft models",
                       "   10 similar model definitions", "Category 0: 1 pax liverie",
                       "Category 1: 1 pax liverie", "Category 2: 4 pax liveries",
                       "Category 3: 0 pax liveries and 1 cargo liverie",
                       "Category 4: No livery found", "Category 5: No livery found",
                       "HELICOPTERS temporarily switched off because you do not have Helicopters "
                       "installed",
                       "2 models have a generic livery"}));
    EXPECT_EQ(switchedOff, Strings{"HELICOPTERS"});
    EXPECT_FALSE(settings::HELICOPTERS.value());
}

TEST_F(MatchingReportsTest, NoLiveriesOfAnyKind) {
    build({livery("KLM 738", "KLM", "B738")});
    Strings switchedOff;
    logMatchingIndexes(
        *indexes, [&](settings::CheckBox& parameter) { switchedOff.push_back(parameter.name()); });
    EXPECT_EQ(switchedOff, (Strings{"HELICOPTERS", "HIGH_PERF_AIRCRAFT", "LIGHT_AIRCRAFT"}));
    EXPECT_TRUE(logged.contains(
        "LIGHT_AIRCRAFT temporarily switched off because you do not have light aircraft "
        "installed"));
    EXPECT_TRUE(logged.contains("No generic liveries"));
    EXPECT_TRUE(logged.contains("    2 similar model definitions"));
}

// The liveries' own registrations first, then the shipped list, then the user's lists.
TEST_F(MatchingReportsTest, PreparationAppliesTheRegistrationListsAfterTheLiveriesOwn) {
    const RegcodeFolders folders{folder / "input", folder / "info", folder / "errors"};
    std::filesystem::create_directories(folders.input / "my_regcodes");
    test::writeFile(folders.input / "my_regcodes" / "mine.txt", "KLM 3;PH-BXA\n");
    test::writeFile(
        folder / "aig.xml",
        R"(<?xml version="1.0"?><root><aig><l t="KLM 2" r="PH-UNI" s="true"/></aig></root>)");
    data::streamEncrypt(data::programKey(), folder / "aig.xml", folders.input / "AIG-regcodes.enc");
    services::MessageLine messages{[] {}};
    indexes =
        prepareMatching({livery("KLM 1", "KLM", "B738", "PH-BXA"),
                         livery("KLM 2", "KLM", "B738", "PH-BXA"), livery("KLM 3", "KLM", "B738")},
                        reference, folders, messages, [](settings::CheckBox&) {});
    EXPECT_TRUE(std::filesystem::exists(folders.errors / "InlineRegcodes.txt"));
    // The user's list replaced what the liveries carried.
    EXPECT_TRUE(std::filesystem::exists(folders.info / "OfflineRegcodes.txt"));
    EXPECT_TRUE(logged.contains("    2 registration codes"));

    options.depth = 1;
    EXPECT_EQ(titleFor(aircraft("KLM", "B738", "PH-BXA")), "KLM 3");
    EXPECT_EQ(titleFor(aircraft("KLM", "B738", "PH-UNI")), "KLM 2");
    EXPECT_EQ(run.stepCounts[0], 1);
    EXPECT_EQ(run.stepCounts[1], 1);
}

TEST_F(MatchingReportsTest, TheSummaryCountsMatchesPerStepAndListsWhatCouldNotBeCreated) {
    logMatchSummary(run);
    logNoMatches(run);
    EXPECT_TRUE(loggedLines().empty()) << "nothing matched, nothing to summarise";

    run.stepCounts = {0, 3, 12, 0, 0, 0, 1};
    run.couldNotBeCreated = {"B738 KLM", "A320 DLH"};
    run.noMatch = {"KLM123 B738 PH-BXZ"};
    logMatchSummary(run);
    logNoMatches(run);
    const std::string stars(31, '*');
    EXPECT_EQ(loggedLines(),
              (Strings{stars + " live traffic livery matching summary " + stars,
                       "Matches at step: ", "  1: 3", "  2: 12", "  6: 1", "",
                       "Could not be created", "  A320 DLH", "  B738 KLM", std::string(100, '*'),
                       "", "No match found for:", "KLM123 B738 PH-BXZ"}));
}

}  // namespace
}  // namespace corv::liveries
