#include "app/UnwiredSubsystems.hpp"

namespace corv::app {

using namespace std::chrono_literals;

namespace {
// Polls until the run must end; the waits never succeed.
bool waitForStop(const RunState& run, const Sleeper& sleep) {
    while (!run.stopOrClosed())
        sleep(100ms);
    return false;
}
}  // namespace

bool UnwiredRealTraffic::waitForFirstConnection() {
    return waitForStop(run_, sleep_);
}

}  // namespace corv::app
