#include "sim/SimClient.hpp"

#include <cmath>

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "common/UserErrorException.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/TimeText.hpp"
#include "sim/FlightPlans.hpp"
#include "sim/SimSetup.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::sim {

using namespace std::chrono_literals;

namespace {
constexpr auto openRetry = 100ms;
constexpr auto dispatchPause = 1ms;
constexpr auto runningPoll = 100ms;
constexpr auto groundPoll = 500ms;
constexpr auto positionPoll = 200ms;

bool nonZero(double latitude, double longitude) {
    return std::abs(latitude) > 0.0001 || std::abs(longitude) > 0.0001;
}
}  // namespace

SimClient::SimClient(SimClientContext context, OperationsFactory makeOperations)
    : ctx_(std::move(context)),
      makeOperations_(std::move(makeOperations)),
      flightPlanFolder_(flightPlanFolder(ctx_.appDataFolder)) {}

SimClient::~SimClient() {
    joinThread();
}

void SimClient::joinThread() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

void SimClient::expectMajorVersion(const std::string& major) {
    // The previous run's thread may still be closing; its lists must not change under it.
    joinThread();
    expectedMajor_ = major == "6" ? 6 : 5;
    queues_.resetForRun();
    error_ = false;
}

void SimClient::makeConnection() {
    std::lock_guard lock(queues_.simLock());
    connected_ = false;
    ops_ = makeOperations_();
}

void SimClient::startClient() {
    joinThread();
    makeConnection();
    thread_ = std::jthread([this](std::stop_token stop) { clientThread(std::move(stop)); });
}

void SimClient::stopClient() {
    thread_.request_stop();
}

void SimClient::clientThread(std::stop_token stop) {
    try {
        bool firstPass = true;
        while (!ctx_.run.stopOrClosed() && !stop.stop_requested()) {
            if (firstPass) {
                ctx_.messages.showMessage(
                    fmt::format("Waiting for Prepar3Dv{} ...", expectedMajor_.load()), false);
                firstPass = false;
            }
            if (!open()) {
                std::this_thread::sleep_for(openRetry);
                continue;
            }
            while (!stop.stop_requested()) {
                if (!dispatchWaiting()) {
                    connectionLost();
                    break;
                }
                std::this_thread::sleep_until(std::chrono::steady_clock::now() + dispatchPause);
            }
            break;
        }
    } catch (const UserErrorException& e) {
        // The error stays in the window; the user ends the run.
        ctx_.messages.showError(e.what());
    } catch (const std::exception& e) {
        ctx_.messages.showError(e.what());
        connectionLost();
    } catch (...) {
        ctx_.messages.showError(fmt::format("Exception in {}", "SimClient"));
        connectionLost();
    }
    closeConnection();
}

bool SimClient::open() {
    if (failed(ops_->open(std::string(programName)))) return false;
    opened_ = true;
    if (const int failures = declareSimSetup(*ops_); failures > 0) {
        services::logMarked("SimConnect set-up: {} calls failed", failures);
    }
    // Published only now: a request before the definitions exist would be refused.
    std::lock_guard lock(queues_.simLock());
    connected_ = true;
    return true;
}

bool SimClient::dispatchWaiting() {
    return !failed(
        ops_->callDispatch([this](const SimMessage& message) { handleMessage(message); }));
}

void SimClient::connectionLost() {
    running_ = false;
    if (!ctx_.run.stopRequested) {
        services::log("{} Flight Simulator no longer connected, {} will stop ...",
                      services::timeText(std::chrono::system_clock::now()), programName);
        ctx_.run.requestStop(services::ExitReason::SimWasClosed, 0);
    }
}

void SimClient::closeConnection() {
    rememberUserStand();
    ctx_.display.update([](status::DisplaySnapshot& d) { d.simConnected = false; });
    repaintStatus();
    {
        std::lock_guard lock(queues_.simLock());
        connected_ = false;
    }
    if (!opened_) return;
    opened_ = false;
    services::log(failed(ops_->close()) ? "Closing SimConnect failed?!" : "SimConnect closed ok");
}

bool SimClient::handshake() {
    const auto waitUntil = [this](const std::function<bool()>& done, auto pause,
                                  const std::function<void()>& poll) {
        while (!done()) {
            if (ctx_.run.stopOrClosed()) return false;
            poll();
            ctx_.sleep(pause);
        }
        return !ctx_.run.stopOrClosed();
    };
    if (!waitUntil([this] { return running_ && !error_; }, runningPoll, [] {})) return false;
    requestUserOnGround();
    UserAircraftState copy;
    if (!waitUntil([this] { return groundStateKnown_ && userPositionKnown(); }, groundPoll,
                   [&] { copy = requestUserState(); })) {
        return false;
    }
    requestUserTitleAndModel();
    return waitUntil([&] { return nonZero(copy.latitude, copy.longitude); }, positionPoll,
                     [&] { copy = requestUserState(); });
}

UserAircraftState SimClient::userAircraft() const {
    std::lock_guard lock(stateMutex_);
    return user_;
}

bool SimClient::userPositionKnown() const {
    std::lock_guard lock(stateMutex_);
    return nonZero(user_.latitude, user_.longitude);
}

UserAircraftIdentity SimClient::userIdentity() const {
    std::lock_guard lock(stateMutex_);
    return identity_;
}

std::string SimClient::closestAirport() const {
    std::lock_guard lock(stateMutex_);
    return closestAirport_;
}

void SimClient::resetRunState() {
    joinThread();
    running_ = false;
    error_ = false;
    queues_.resetForRun();
    notices_.clear();
    userObjectId_ = initialUserObjectId;
    groundStateKnown_ = false;
    simulatorUtcSeconds_ = 0;
    std::lock_guard lock(stateMutex_);
    user_ = {};
    previousPosition_ = {};
    identity_ = {};
    closestAirport_.clear();
    closestSearch_.reset();
}

void SimClient::createFlightPlanFolder() {
    gf_createFlightPlanFolder(flightPlanFolder_);
}

void SimClient::removeFlightPlanFolder() {
    gf_removeFlightPlanFolder(flightPlanFolder_);
}

void SimClient::repaintStatus() {
    ctx_.window.repaintBand(status::Band::Status);
}

void SimClient::rememberUserStand() {
    if (ctx_.rememberUserStand) ctx_.rememberUserStand();
}

void SimClient::newFlight() {
    // Only the first stop request of a run sets the reason.
    ctx_.run.requestStop(services::ExitReason::NewFlight, 30);
}

void SimClient::requestError(std::string_view line) {
    if (!line.empty()) services::logMarked(line);
    ctx_.messages.showMessage("SimConnect request error", true);
    error_ = true;
    ctx_.run.requestStop(services::ExitReason::SimconnectError, 9);
}

}  // namespace corv::sim
