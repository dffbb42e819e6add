#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace corv::services
