#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/UserErrorException.hpp"
#include "liveries/CreationFailure.hpp"
#include "liveries/LiveryChoice.hpp"
#include "liveries/LiveryLookup.hpp"
#include "liveries/MatchingFixture.hpp"
#include "services/MessageLine.hpp"

namespace corv::liveries {
namespace {

using Strings = std::vector<std::string>;

class LiveryMatchTest : public test::MatchingFixture {
  protected:
    void special(std::vector<std::string> titles) {
        for (auto& title : titles)
            regcodes.records.push_back({title, {"X-" + title}, true});
    }
};

TEST_F(LiveryMatchTest, ChoiceAvoidsSpecialLiveriesButNeverComesBackEmpty) {
    special({"S1", "S2"});
    build({livery("S1", "KLM", "B738"), livery("A", "KLM", "B738"), livery("S2", "KLM", "B738"),
           livery("B", "KLM", "B738")});
    struct Case {
        const char* what;
        TitleList candidates;
        bool random;
        std::deque<std::size_t> script;
        std::string expected;
        int draws;
    };
    const Case cases[] = {
        {"empty", {}, true, {}, "", 0},
        {"not random: first ordinary one", {"S1", "S2", "A", "B"}, false, {}, "A", 0},
        {"a single entry is not drawn", {"A"}, true, {}, "A", 0},
        {"a special draw is drawn again", {"S1", "A", "B"}, true, {0, 1}, "A", 2},
        {"five special draws: random among the ordinary",
         {"S1", "S2", "A", "B"},
         true,
         {0, 1, 0, 1, 0, 1},
         "B",
         6},
        {"only special: the last tried", {"S1", "S2"}, true, {0, 0, 0, 0, 1}, "S2", 5},
        {"only special, not random", {"S2", "S1"}, false, {}, "S2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        random.script = c.script;
        random.draws = 0;
        const LiveryChoice choice(indexes->registrations, random, c.random);
        EXPECT_EQ(choice.choose(c.candidates), c.expected);
        EXPECT_EQ(random.draws, c.draws);
    }
}

TEST_F(LiveryMatchTest, DepthOneMatchesRegistrationsOnlyAndUniqueOnesCountAsStepZero) {
    regcodes.records.push_back({"KLM unique", {"PH-UNI"}, true});
    regcodes.records.push_back({"KLM shared", {"PH-SH1", "PH-SH2"}, true});
    build({livery("KLM 738", "KLM", "B738", "PH-BXA"), livery("KLM unique", "KLM", "B738"),
           livery("KLM shared", "KLM", "B738")});
    options.depth = 1;
    struct Case {
        const char* registration;
        std::string title;
        int step;  // -1: no match
    };
    const Case cases[] = {
        {"PH-BXA", "KLM 738", 1},
        {"PH-UNI", "KLM unique", 0},
        {"PH-SH2", "KLM shared", 1},
        {"PH-BXZ", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registration);
        run = {};
        auto ac = aircraft("KLM", "B738", c.registration);
        EXPECT_EQ(match(ac), c.step >= 0);
        EXPECT_EQ(ac.title, c.title);
        for (int step = 0; step < matchStepCount; ++step)
            EXPECT_EQ(run.stepCounts.at(step), step == c.step ? 1 : 0) << step;
    }
    EXPECT_TRUE(logged.contains("          KLM B738 =0= KLM unique"));
    EXPECT_TRUE(logged.contains("CS1     : KLM B738 no livery match ..."));
    EXPECT_EQ(run.noMatch, MatchRunState::TextSet{"KLM B738"});

    options.depth = 2;
    auto deeper = aircraft("KLM", "B738", "PH-BXZ");
    ASSERT_TRUE(match(deeper));
    EXPECT_EQ(run.stepCounts[2], 1);
}

TEST_F(LiveryMatchTest, NotRandomTakesTheFirstOrdinaryTitleOfTheList) {
    special({"KLM special"});
    build({livery("KLM special", "KLM", "B738"), livery("KLM 1", "KLM", "B738"),
           livery("KLM 2", "KLM", "B738")});
    options.random = false;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(titleFor(aircraft("KLM", "B738")), "KLM 1");
    EXPECT_EQ(random.draws, 0);
}

TEST_F(LiveryMatchTest, CargoAircraftPreferCargoLiveriesAndFallBackToPassengerOnes) {
    build({livery("KLM pax", "KLM", "B744"), livery("DLH pax", "DLH", "B738"),
           livery("DLH freighter", "DLH", "B738", "", true)});
    EXPECT_EQ(titleFor(aircraft("KLM", "B744", "", true)), "KLM pax");
    EXPECT_EQ(run.stepCounts[2], 1);
    EXPECT_EQ(titleFor(aircraft("DLH", "B738", "", true)), "DLH freighter");
    EXPECT_EQ(titleFor(aircraft("DLH", "B738", "", false)), "DLH pax");
}

TEST_F(LiveryMatchTest, OperatorLiveriesAreFoundUnderTheCompositeCodeOrByTheOtherAirlinesName) {
    struct Case {
        const char* what;
        std::vector<LiveryData> liveries;
        std::string expected;
    };
    // American flights flown by Mesa (ASH) or SkyWest (SKW); titles name the other airline.
    const std::vector<Case> cases = {
        {"composite code first",
         {livery("ASH plain", "ASH", "A320"),
          livery("AAL by Mesa", "AAL", "A320", "", false, "ASH"), livery("AAL", "AAL", "A320")},
         "AAL by Mesa"},
        {"under the operator, naming the airline",
         {livery("Mesa Airlines", "ASH", "A320"), livery("Mesa American Eagle", "ASH", "A320"),
          livery("American", "AAL", "A320")},
         "Mesa American Eagle"},
        {"under the airline, naming the operator",
         {livery("American", "AAL", "A320"), livery("American Eagle Mesa", "AAL", "A320")},
         "American Eagle Mesa"},
        {"under the operator by choice",
         {livery("Mesa Airlines", "ASH", "A320"), livery("American", "AAL", "A320")},
         "Mesa Airlines"},
        {"the airline's own last", {livery("American", "AAL", "A320")}, "American"},
        {"another operator's composite does not count",
         {livery("AAL by SkyWest", "AAL", "A320", "", false, "SKW")},
         ""},
    };
    options.depth = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        build(c.liveries);
        EXPECT_EQ(titleFor(aircraft("AAL", "A320", "N123AA", false, "ASH")), c.expected);
    }
}

TEST_F(LiveryMatchTest, PrivateLiveriesOfTheSameCountryComeFirst) {
    EXPECT_EQ(registrationPrefix("N12345"), "N");
    EXPECT_EQ(registrationPrefix("PH-ABC"), "PH-");
    EXPECT_EQ(registrationPrefix(""), "");

    build({livery("C172 D", "PVT", "C172", "D-EABC"), livery("C172 PH", "PVT", "C172", "PH-XYZ"),
           livery("C172 N", "PVT", "C172", "N999ZZ"), livery("C172 P", "PVT", "C172", "PHXYZ"),
           livery("C172 G", "PVT", "C172", "G-ABCD")});
    struct Case {
        const char* registration;
        std::string expected;
    };
    const Case cases[] = {
        {"N12345", "C172 N"},
        {"PH-ABC", "C172 PH"},  // not the one starting with "PH" without the dash
        {"OE-KAB", "C172 D"},   // no Austrian one: the group's first member with one
        {"HB-ABC", "C172 D"},
        {"F-GABC", "C172 G"},  // no group: any of them (the scripted draw takes the last)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registration);
        auto ac = aircraft("PVT", "C172", c.registration);
        EXPECT_EQ(titleFor(ac), c.expected);
    }
    EXPECT_EQ(run.stepCounts[2], 5);
}

// Which step finds what, for aircraft that have no livery of their own airline and type.
TEST_F(LiveryMatchTest, DeeperStepsFollowSimilarTypesGenericAndPrivateLiveries) {
    build({livery("KLM A320", "KLM", "A320"), livery("KLM B738", "KLM", "B738"),
           livery("Generic 77W", "ZZZ", "B77W"),
           livery("Generic 738 cargo", "ZZZ", "B738", "", true),
           livery("Private C172", "PVT", "C172", "N1"), livery("Private EC35", "PVT", "EC35", "N2"),
           livery("Private B744", "PVT", "B744", "N3"), livery("Generic C25A", "ZZZ", "C25A")});
    struct Case {
        const char* what;
        MatchAircraft ac;
        int depth;
        std::string expected;
        int step;
    };
    auto preferringCargo = aircraft("DLH", "B738");
    preferringCargo.preferCargo = true;
    const std::vector<Case> cases = {
        {"similar type", aircraft("KLM", "A321"), 3, "KLM A320", 3},
        {"not at depth 2", aircraft("KLM", "A321"), 2, "", -1},
        {"a similar type of another category is no stand-in", aircraft("KLM", "B744"), 4, "", -1},
        {"generic", aircraft("KLM", "B77W"), 4, "Generic 77W", 4},
        {"generic not at depth 3", aircraft("KLM", "B77W"), 3, "", -1},
        {"generic cargo when the caller prefers it", preferringCargo, 4, "Generic 738 cargo", 4},
        {"a private aircraft takes a generic livery first", aircraft("PVT", "C25A", "N5"), 2,
         "Generic C25A", 4},
        {"private livery of the type", aircraft("DLH", "C172", "D-EFGH"), 4, "Private C172", 5},
        {"private livery of a similar type", aircraft("DLH", "C182", "D-EFGH"), 4, "Private C172",
         6},
        {"private livery of the same category", aircraft("DLH", "R44", "D-HABC"), 4, "Private EC35",
         6},
        {"a heavy never takes a private livery", aircraft("DLH", "B744"), 4, "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run = {};
        options.depth = c.depth;
        auto ac = c.ac;
        EXPECT_EQ(match(ac), c.step >= 0);
        EXPECT_EQ(ac.title, c.expected);
        if (c.step >= 0) {
            EXPECT_EQ(run.stepCounts.at(c.step), 1);
        }
    }
    EXPECT_TRUE(logged.contains("CS1     : DLH B744 no livery match ..."));
}

TEST_F(LiveryMatchTest, ARefusedTitleIsNeverChosenAgain) {
    build({livery("KLM 1", "KLM", "B738", "PH-BXA"), livery("KLM 2", "KLM", "B738"),
           livery("Generic 738", "ZZZ", "B738"), livery("Private 1", "PVT", "C172", "N1"),
           livery("Private 2", "PVT", "C172", "N2")});
    options.random = false;
    services::MessageLine messages{[] {}};
    const auto refuse = [&](const liveries::MatchAircraft& ac, const char* model,
                            const char* airline) {
        liveries::recordCreationFailure(run, ac.callsign, std::string(ac.title), model, airline,
                                        false, messages);
    };
    Strings chosen;
    for (int i = 0; i < 3; ++i) {
        auto ac = aircraft("KLM", "B738", "PH-BXA");
        match(ac);
        chosen.emplace_back(ac.title);
        refuse(ac, "B738", "KLM");
    }
    EXPECT_EQ(chosen, (Strings{"KLM 1", "KLM 2", "Generic 738"}));
    EXPECT_EQ(run.couldNotBeCreated, (liveries::MatchRunState::TextSet{"B738 KLM"}));  // once

    for (int i = 0; i < 2; ++i) {
        auto ac = aircraft("PVT", "C172", "N5");
        match(ac);
        refuse(ac, "C172", "PVT");
    }
    EXPECT_EQ(titleFor(aircraft("PVT", "C172", "N5")), "");
}

TEST(CreationFailure, TwentyDistinctRefusedTitlesEndTheRunWithError81) {
    test::LogCapture logged;
    services::MessageLine messages{[] {}};
    liveries::MatchRunState run;
    for (int i = 0; i < 19; ++i) {
        liveries::recordCreationFailure(run, "KLM" + std::to_string(i),
                                        "Title " + std::to_string(i), "B738", "KLM", false,
                                        messages);
    }
    // The same title twice counts once; a run that is ending shows nothing.
    liveries::recordCreationFailure(run, "KLM0", "Title 0", "B738", "KLM", true, messages);
    EXPECT_EQ(run.failedTitles.size(), 19u);
    try {
        liveries::recordCreationFailure(run, "DLH1", "Title 19", "A320", "DLH", false, messages);
        ADD_FAILURE() << "no user error";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(),
                     "81: There are too many liveries that could not be created!, see Log.txt");
    }
    EXPECT_TRUE(run.failedTitles.contains("Title 19"));
    EXPECT_TRUE(
        logged.contains("===> Error 81, There are too many liveries that could not be created!"));
}

TEST_F(LiveryMatchTest, ATitleAlreadyGivenIsKeptAndOnlyLiveAircraftAreCounted) {
    build({livery("FSLTL_KLM 738", "KLM", "B738")});
    auto present = aircraft("KLM", "B738");
    present.title = "kept title";
    EXPECT_TRUE(match(present));
    EXPECT_EQ(present.title, "kept title");
    EXPECT_TRUE(logged.contains("          KLM B738 =s= kept title"));

    auto parked = aircraft("KLM", "B738", "PH-NEW");
    parked.live = false;
    options.depth = 1;
    EXPECT_FALSE(match(parked));
    options.depth = 4;
    EXPECT_TRUE(match(parked));
    EXPECT_FALSE(parked.fsltl);
    EXPECT_EQ(run.stepCounts, (std::array<int, matchStepCount>{}));
    EXPECT_TRUE(run.noMatch.empty());

    auto live = aircraft("KLM", "B738");
    EXPECT_TRUE(match(live));
    EXPECT_TRUE(live.fsltl);
    EXPECT_EQ(run.stepCounts[2], 1);
    EXPECT_TRUE(logged.contains("          KLM B738 =2= FSLTL_KLM 738"));
}

}  // namespace
}  // namespace corv::liveries
