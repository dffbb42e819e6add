#pragma once

#include "run/RunContext.hpp"

namespace corv::ui {
class Commands;
}

namespace corv::app {

// One run of the program on the start-up thread: read the data files, connect the simulator
// and RealTraffic, run the 10 ms cycle until a stop is requested, close down, and post the
// start message again (restart) or the quit message.
class Run {
  public:
    Run(run::RunContext& context, ui::Commands& commands) : ctx_(context), commands_(commands) {}

    // The body of the start-up thread; nothing escapes it.
    void lf_startUpCorvane();

    bool readDataFiles();
    bool startRun();
    void runCycle();
    bool runTick();
    void onSecondTick();
    void every15Seconds();
    void onFlightNotRunning();
    void handleReRead();
    void lf_closingDown();
    void restartCountdown();
    void resetRunState();

  private:
    void startUpSteps();
    void endEarly();
    void onStartUpFailure(const std::string& text, bool requestStop);
    void runFiveSecondTasks();
    void runOtherSecondTasks(int second);

    run::RunContext& ctx_;
    ui::Commands& commands_;
    bool renewalPhaseMarked_ = false;
    bool flightWasRunning_ = true;
    int notRunningCountdown_ = 0;
};

}  // namespace corv::app
