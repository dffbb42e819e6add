#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "services/RunState.hpp"

namespace corv::services {
namespace {

TEST(RunState, FirstStopRequestKeepsItsReason) {
    RunState run;
    EXPECT_TRUE(run.requestStop(ExitReason::ReaderError, 15));
    EXPECT_FALSE(run.requestStop(ExitReason::NewSettings, 3));
    EXPECT_EQ(run.exitReason(), ExitReason::ReaderError);
    EXPECT_EQ(run.restartDelaySeconds(), 15);
    run.setReasonIfUnset(ExitReason::UserClosedSim);
    EXPECT_EQ(run.exitReason(), ExitReason::ReaderError);

    run.resetForNewRun();
    EXPECT_FALSE(run.stopRequested);
    EXPECT_EQ(exitReasonText(run.exitReason()), "NOT YET SET");
    EXPECT_THROW(exitReasonText(static_cast<ExitReason>(42)), std::out_of_range);
}

// The run's threads read the reason and the restart delay as soon as they see stopRequested,
// so a stop must never be visible before its reason. The window is a few instructions wide:
// many rounds of a request on one thread against a reader that spins on the flag.
TEST(RunState, StopIsNeverSeenBeforeItsReason) {
    constexpr int rounds = 100000;
    RunState run;
    std::atomic<int> started{-1};
    std::atomic<int> finished{-1};
    // Busy at first, so the flag is read the moment it flips; then yielding, for a machine
    // with fewer free cores; a side that never comes ends the test at the deadline.
    const auto spinUntil = [](auto condition) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (int spin = 0; !condition(); ++spin) {
            if (spin < 1000) continue;
            if (spin % 1024 == 0 && std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::yield();
        }
        return true;
    };
    std::jthread requester([&] {
        for (int round = 0; round < rounds; ++round) {
            if (!spinUntil([&] { return started.load() == round; })) return;
            run.requestStop(ExitReason::ReaderError, 15);
            finished.store(round);
        }
    });
    int early = 0;
    for (int round = 0; round < rounds; ++round) {
        run.resetForNewRun();
        started.store(round);
        ASSERT_TRUE(spinUntil([&] { return run.stopRequested.load(); })) << "round " << round;
        if (run.exitReason() != ExitReason::ReaderError || run.restartDelaySeconds() != 15) ++early;
        ASSERT_TRUE(spinUntil([&] { return finished.load() == round; })) << "round " << round;
    }
    EXPECT_EQ(early, 0) << "of " << rounds << " stops, seen before their reason";
}

}  // namespace
}  // namespace corv::services
