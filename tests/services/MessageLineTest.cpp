#include <gtest/gtest.h>

#include "services/MessageLine.hpp"
#include "support/LogCapture.hpp"

namespace corv::services {
namespace {

struct MessageLineTest : ::testing::Test {
    test::LogCapture logged;
    int repaints = 0;
    MessageLine line{[this] { ++repaints; }};
};

TEST_F(MessageLineTest, MessageIsShownLoggedOnRequestAndRepainted) {
    line.showMessage("RealTraffic detected at this PC", true);
    line.showMessage("Restarting after 3 seconds", false);
    EXPECT_EQ(line.texts().message, "Restarting after 3 seconds");
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(logged.lines(), std::vector<std::string>{"RealTraffic detected at this PC"});
}

TEST_F(MessageLineTest, EmptyMessageClearsWithoutLogging) {
    line.showMessage("something", false);
    line.showMessage("", true);
    EXPECT_EQ(line.texts().message, "");
    EXPECT_TRUE(logged.lines().empty());
}

TEST_F(MessageLineTest, ErrorBlocksMessagesUntilClearedForARestart) {
    line.showMessage("before", false);
    line.showError("151: No P3D install path detected.");
    const int repaintsAfterError = repaints;
    line.showMessage("hidden", true);
    line.clearMessage();

    EXPECT_EQ(line.texts().message, "");
    EXPECT_EQ(line.texts().error, "151: No P3D install path detected.");
    EXPECT_EQ(logged.lines(), std::vector<std::string>{"Error 151: No P3D install path detected."});
    EXPECT_EQ(repaints, repaintsAfterError + 1);  // the ignored message did not repaint

    line.clearAll();
    line.showMessage("Prepare for a restart ...", false);
    EXPECT_EQ(line.texts().error, "");
    EXPECT_EQ(line.texts().message, "Prepare for a restart ...");
}

TEST_F(MessageLineTest, MessageStaysFor24FullSecondsThenClears) {
    line.onSecondTick();
    line.onSecondTick();
    line.showMessage("Flight resumed", false);
    for (int tick = 1; tick <= 25; ++tick) {
        line.onSecondTick();
        ASSERT_EQ(line.texts().message, tick < 25 ? "Flight resumed" : "") << "tick " << tick;
    }
}

TEST_F(MessageLineTest, MessageSetBeforeTheFirstTickAlsoTimesOut) {
    line.showMessage("early", false);
    int ticks = 0;
    while (!line.texts().message.empty() && ticks < 100) {
        line.onSecondTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 26);  // set at clock 0, counted as if set at 1
}

TEST_F(MessageLineTest, OfferedMessageNeverReplacesAnother) {
    line.showMessage("Waiting for RealTraffic", false);
    line.offerMessage("No RealTraffic version received?");
    EXPECT_EQ(line.texts().message, "Waiting for RealTraffic");
    line.clearMessage();
    line.offerMessage("No RealTraffic version received?");
    EXPECT_EQ(line.texts().message, "No RealTraffic version received?");
    EXPECT_EQ(logged.lines(), std::vector<std::string>{"No RealTraffic version received?"});
}

}  // namespace
}  // namespace corv::services
