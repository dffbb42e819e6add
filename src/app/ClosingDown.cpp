#include <exception>
#include <string>

#include <fmt/format.h>

#include "app/Run.hpp"
#include "common/ProgramIdentity.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::app {

using namespace std::chrono_literals;

void Run::lf_closingDown() {
    try {
        services::log("Exiting: {}", services::exitReasonText(ctx_.run.exitReason()));
        run::Subsystems& subsystems = ctx_.subsystems;
        subsystems.realTraffic.setAcceptingTraffic(false);
        subsystems.simulator.stopClient();
        subsystems.realTraffic.stopReceivers();
        ctx_.sleep(500ms);
        subsystems.realTraffic.stopPositionServer();

        if (ctx_.run.exitReason() == services::ExitReason::SystemError) {
            // The error stays in the window until the user closes it or fixes the setting
            // (a typed install path restarts the program).
            while (!ctx_.run.windowClosed &&
                   ctx_.run.exitReason() == services::ExitReason::SystemError) {
                ctx_.sleep(500ms);
            }
            if (ctx_.run.windowClosed)
                ctx_.messages.showMessage(fmt::format("User closed {}", programName), true);
        }

        if (subsystems.airports.parkAirportSet()) subsystems.airports.leaveParkAirport();
        subsystems.traffic.clearHexidLiveryCache();
        subsystems.simulator.removeFlightPlanFolder();

        for (settings::TextBox* box : {&settings::DESTINATION, &settings::BLOCK_CALLSIGN}) {
            box->setCurrent("");
            ctx_.settings.saveText(*box);
            box->showCurrent(ctx_.controls);
        }
        subsystems.airports.clearDestination();
        // The callsigns of this run's aircraft mean nothing to the next one.
        settings::CALLSIGN_2_OBJECTID.setEntries({});
        settings::CALLSIGN_2_OBJECTID.setCurrent("");
        ctx_.controls.setListEntries(settings::CALLSIGN_2_OBJECTID.controlId, {});
        subsystems.liveries.logMatchingSummary();
        subsystems.traffic.logNoLiverySet();

        const services::ExitReason reason = ctx_.run.exitReason();
        bool restart = services::restartsAfter(reason);
        if (restart) {
            ctx_.run.isRestart = true;
            ctx_.messages.clearAll();
            ctx_.messages.showMessage("Prepare for a restart ...", false);
            // A restart after an error does not scan again.
            if (reason != services::ExitReason::NewSettings) {
                for (settings::CheckBox* scan :
                     {&settings::SCAN_LIVERIES, &settings::SCAN_AIRPORTS}) {
                    scan->setCurrent(false);
                    ctx_.settings.saveFlag(*scan);
                    scan->showCurrent(ctx_.controls);
                }
            }
            restartCountdown();
            resetRunState();
            // A close clicked during the countdown still ends the program.
            restart = !ctx_.run.userClosedWindow;
        }
        if (restart) {
            ctx_.window.postStart();
            return;
        }
        ctx_.run.isRestart = false;
        if (reason == services::ExitReason::NewFlight) {
            ctx_.messages.showMessage(
                fmt::format("New flight detected, {} will close, please restart manually ...",
                            programName),
                false);
            ctx_.sleep(10s);
        }
        ctx_.window.postQuit(ctx_.run.processExitCode);
    } catch (const std::exception& e) {
        ctx_.messages.showMessage(fmt::format("{} exception {}", "lf_closingDown", e.what()), true);
    }
}

void Run::restartCountdown() {
    const int seconds = ctx_.run.restartDelaySeconds();
    if (seconds < 1) return;
    services::log("Restarting after {} seconds", seconds);
    services::log(std::string(48, '-'));
    for (int left = seconds; left > 0; --left) {
        ctx_.messages.showMessage(
            fmt::format("Restarting after {} second{}", left, left == 1 ? "" : "s"), false);
        ctx_.sleep(1s);
    }
    services::log("Restart countdown finished");
}

void Run::resetRunState() {
    ctx_.run.resetForNewRun();
    ctx_.requests.reset();
    renewalPhaseMarked_ = false;
    notRunningCountdown_ = 0;
    ctx_.display.reset();
    ctx_.messages.clearAll();
    ctx_.subsystems.simulator.resetRunState();
    ctx_.subsystems.realTraffic.resetRunState();
    ctx_.subsystems.traffic.resetRunState();
    ctx_.subsystems.airports.resetRunState();
}

}  // namespace corv::app
