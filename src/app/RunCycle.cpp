#include <chrono>

#include "app/Run.hpp"
#include "services/Log.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::app {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
constexpr auto tick = 10ms;
constexpr auto allowedLag = 100ms;
constexpr int ticksPerSecond = 100;
constexpr int renewalMinutes = 20;

void fillCallsignList(status::ControlStates& controls) {
    const auto entries = settings::CALLSIGN_2_OBJECTID.entries();
    std::vector<std::string> callsigns;
    int selected = -1;
    for (const auto& [callsign, objectId] : entries) {
        if (callsign == settings::CALLSIGN_2_OBJECTID.value())
            selected = static_cast<int>(callsigns.size());
        callsigns.push_back(callsign);
    }
    controls.setListEntries(settings::CALLSIGN_2_OBJECTID.controlId, std::move(callsigns));
    controls.selectListEntry(settings::CALLSIGN_2_OBJECTID.controlId, selected);
}
}  // namespace

void Run::runCycle() {
    ctx_.subsystems.airports.parkAirportTick(true);
    ctx_.subsystems.realTraffic.runWatchdog();
    ctx_.run.secondCount = 0;
    ctx_.timeKeyNow = airports::currentTimeKey();
    ctx_.subsystems.realTraffic.setAcceptingTraffic(true);
    fillCallsignList(ctx_.controls);
    ctx_.controls.setEnabled(status::button::callsignList, true);

    Clock::time_point deadline = Clock::now() + tick;
    bool running = runTick();
    while (running) {
        const Clock::time_point now = Clock::now();
        // Far behind: skip ahead instead of running a burst of ticks.
        if (now > deadline + allowedLag) deadline = now + tick;
        for (auto left = deadline - Clock::now(); left >= 1ms; left = deadline - Clock::now()) {
            ctx_.sleep(std::chrono::floor<std::chrono::milliseconds>(left));
        }
        // The simulator's second re-aligns the grid.
        if (ctx_.run.secondTick) deadline = now;
        deadline += tick;
        running = runTick();
    }
}

bool Run::runTick() {
    sim::SimulatorPort& simulator = ctx_.subsystems.simulator;
    if (!simulator.flightRunning() || simulator.hasError()) {
        onFlightNotRunning();
        return !ctx_.run.stopOrClosed();
    }
    ctx_.subsystems.traffic.handleAddingStack();
    if (!ctx_.run.secondTick.exchange(false)) return true;

    onSecondTick();
    if (ctx_.run.stopOrClosed()) return false;

    const int second = ctx_.run.secondCount;
    // A second that is a multiple of 5 runs none of the 16, 59 and 61 second tasks.
    if (second % 5 == 0) {
        runFiveSecondTasks();
        if (second % 15 == 0) every15Seconds();
    } else {
        runOtherSecondTasks(second);
    }
    return true;
}

void Run::runFiveSecondTasks() {
    realtraffic::RealTrafficPort& realTraffic = ctx_.subsystems.realTraffic;
    realTraffic.setReferencePositionFromUser();
    if (realTraffic.connected()) realTraffic.sendSimTime();
    if (ctx_.subsystems.airports.hasReservedStand())
        ctx_.subsystems.airports.keepReservedStandFree();
    handleReRead();
}

void Run::runOtherSecondTasks(int second) {
    if (second % 16 == 0 && !renewalPhaseMarked_) ctx_.subsystems.airports.parkAirportTick(false);
    if (second % 59 == 0) ctx_.subsystems.realTraffic.runWatchdog();
    if (second % 61 == 0) ctx_.subsystems.traffic.checkParkedVersusStatic();
}

void Run::onSecondTick() {
    live::TrafficPort& traffic = ctx_.subsystems.traffic;
    if (ctx_.run.flightPaused) {
        ctx_.run.flightPaused = false;
        services::log("{} Flight resumed", services::clockText());
        ctx_.subsystems.realTraffic.setAcceptingTraffic(true);
    }
    ctx_.messages.onSecondTick();
    traffic.recountLive();
    ctx_.timeKeyNow = airports::currentTimeKey();
    ctx_.run.secondCount += 1;
    traffic.runStaticTwinCheck();

    if (ctx_.requests.flushStaticRequested.exchange(false)) {
        ctx_.subsystems.airports.removeAllStatic();
        settings::INITIAL_LOAD_ONLY.setCurrent(true);  // for this run only
        settings::INITIAL_LOAD_ONLY.showCurrent(ctx_.controls);
    }
    if (ctx_.requests.callsignListRequested.exchange(false)) {
        ctx_.display.update([](status::DisplaySnapshot& d) { d.selectionText.clear(); });
        ctx_.window.repaintBand(status::Band::Controls);
        traffic.rebuildCallsignList();
    }

    const bool userOnGround = ctx_.subsystems.simulator.userAircraft().onGround;
    if (userOnGround && settings::COLLISION_USER_GND.value()) traffic.checkUserGroundCollisions();
    if (!userOnGround && settings::COLLISION_USER_AIR.value()) traffic.checkUserAirCollisions();
    if (settings::COLLISION_LIVE_PARKED_GND.value()) traffic.checkLiveVersusStaticCollisions();

    if (ctx_.requests.blockChanged) {
        if (const std::string blocked = settings::BLOCK_CALLSIGN.value(); !blocked.empty()) {
            traffic.removeBlockedCallsign(blocked);
        }
        ctx_.requests.blockChanged = false;
    }
    if (ctx_.requests.staticComputationRunning) {
        const int queued = ctx_.subsystems.airports.staticQueuedCount();
        bool changed = false;
        ctx_.display.update([queued, &changed](status::DisplaySnapshot& d) {
            changed = d.parking.staticQueued != queued;
            d.parking.staticQueued = queued;
        });
        if (changed) ctx_.window.repaintBand(status::Band::Parking);
    }
}

void Run::every15Seconds() {
    airports::AirportsPort& airports = ctx_.subsystems.airports;
    // The renewal runs in two phases, 15 s apart, so that the callsigns seen meanwhile are known.
    if (ctx_.requests.staticRenewalRequested && !renewalPhaseMarked_) {
        renewalPhaseMarked_ = true;
        commands_.lockParkingControls();
        ctx_.subsystems.realTraffic.startCallsignCollection();
    } else if (renewalPhaseMarked_) {
        renewalPhaseMarked_ = false;
        ctx_.messages.clearAll();
        if (airports.parkAirportSet() && !airports.standListEmpty()) airports.renewStaticParking();
        ctx_.requests.staticRenewalRequested = false;
    }
    if (ctx_.subsystems.realTraffic.receiverIdle()) ctx_.subsystems.realTraffic.runWatchdog();

    const int second = ctx_.run.secondCount;
    if (second % 30 != 0) return;
    if (ctx_.requests.rematchRequested.exchange(false)) ctx_.subsystems.traffic.clearNoLiverySet();
    if (settings::AUTO_RANGE.value()) commands_.computeAutoRadius();

    if (second % 60 != 0) return;
    int minutesLeft = ctx_.requests.renewalMinutesLeft;
    if (minutesLeft == 1 || minutesLeft < 0) {
        minutesLeft = renewalMinutes;
        if (airports.parkAirportSet() && !settings::INITIAL_LOAD_ONLY.value() &&
            !ctx_.requests.staticComputationRunning && !ctx_.requests.staticRenewalRequested) {
            commands_.announceStaticUpdate();
        }
    } else {
        --minutesLeft;
    }
    ctx_.requests.renewalMinutesLeft = minutesLeft;
    ctx_.display.update(
        [minutesLeft](status::DisplaySnapshot& d) { d.minutesToRenewal = minutesLeft; });
    ctx_.window.repaintBand(status::Band::Controls);

    if (second % 1200 == 0) ctx_.subsystems.traffic.logNoLiverySet();
    if (second % 86400 == 0) {
        ctx_.run.secondCount = 0;
        ctx_.subsystems.liveries.logMatchingSummary();
        ctx_.subsystems.traffic.clearHexidLiveryCache();
    }
}

void Run::onFlightNotRunning() {
    if (!ctx_.run.flightPaused) {
        ctx_.subsystems.realTraffic.setAcceptingTraffic(false);
        ctx_.run.flightPaused = true;
        notRunningCountdown_ = ticksPerSecond;
        ctx_.subsystems.simulator.clearQueues();
        services::log("{} Flight not running", services::clockText());
    }
    ctx_.subsystems.traffic.processSimNotices();
    if (--notRunningCountdown_ < 1) {
        handleReRead();
        ctx_.subsystems.realTraffic.sendUserPosition();
        notRunningCountdown_ = ticksPerSecond;
        ctx_.subsystems.traffic.recountLive();
        ctx_.timeKeyNow = airports::currentTimeKey();
    }
}

void Run::handleReRead() {
    if (!ctx_.requests.reReadRequested || ctx_.requests.staticComputationRunning) return;
    const std::string result = ctx_.subsystems.airports.recheckParkAirports();
    if (!result.empty()) ctx_.messages.showMessage(result, true);
    ctx_.controls.setEnabled(status::button::reRead, true);
    ctx_.controls.setEnabled(settings::DESTINATION.controlId, true);
    ctx_.requests.reReadRequested = false;
}

}  // namespace corv::app
