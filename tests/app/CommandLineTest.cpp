#include <gtest/gtest.h>

#include "app/CommandLine.hpp"

namespace corv::app {
namespace {

TEST(CommandLine, ProductionSwitchIgnoresCaseAndTheLastOneWins) {
    struct Case {
        std::vector<std::string> arguments;
        bool production;
    };
    const Case cases[] = {
        {{"corvane"}, false},
        {{"corvane", "--production"}, true},
        {{"corvane", "--PRODUCTION"}, true},
        {{"corvane", "/Production"}, true},
        {{"corvane", "--production", "--no-production"}, false},
        {{"corvane", "/no-production", "--production"}, true},
        {{"--production"}, false},  // the program's own name is no switch
        {{"corvane", "--productions"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(productionModeFromArguments(c.arguments), c.production)
            << ::testing::PrintToString(c.arguments);
    }
}

}  // namespace
}  // namespace corv::app
