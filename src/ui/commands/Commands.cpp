#include "ui/commands/Commands.hpp"

#include "common/UpperCase.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "services/ExitReason.hpp"
#include "services/Log.hpp"
#include "services/ShellOpen.hpp"
#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "ui/commands/AutoRadius.hpp"

namespace corv::ui {

namespace fs = std::filesystem;
using namespace settings;

namespace {
constexpr int renewalMinutes = 20;
constexpr double airborneOnlyMarginFeet = 150.0;

CheckBox* checkBoxWithId(status::ControlId id) {
    for (CheckBox* box :
         {&ALWAYS_ON_TOP, &NAV_LIGHTS_WHILE_PARKED, &AEROWINX, &GUID_CHANGES, &SCAN_LIVERIES,
          &LIG_PRIORITIZE, &SCAN_AIRPORTS, &LIGHT_AIRCRAFT, &HELICOPTERS, &HIGH_PERF_AIRCRAFT,
          &AUTO_RANGE, &AIRBORNE_ONLY, &COLLISION_USER_GND, &COLLISION_USER_AIR,
          &COLLISION_LIVE_PARKED_GND, &STRAIGHT_PBS_ONLY, &INITIAL_LOAD_ONLY, &WEEK, &PARK_SOFT}) {
        if (box->controlId == id) return box;
    }
    return nullptr;
}

ChoiceList<std::int32_t>* numberListWithId(status::ControlId id) {
    for (ChoiceList<std::int32_t>* list :
         {&MATCHING_DEPTH, &RANGE, &AR_ABOVE_HEIGHT, &MAX_PARK_SEL, &MAX_LIVE_SEL, &AIRP_RANGE,
          &AIRP_HEIGHT, &parking_percentage}) {
        if (list->controlId == id) return list;
    }
    return nullptr;
}
}  // namespace

bool Commands::lf_HandleWMCOMMAND(status::ControlId id) {
    try {
        if (onButtonCommand(id) || onCheckBoxCommand(id)) return true;
    } catch (const std::exception& e) {
        services::logMarked("{} exception {}", "lf_HandleWMCOMMAND", e.what());
    }
    ctx_.window.repaintBand(status::Band::Controls);
    return false;
}

bool Commands::onButtonCommand(status::ControlId id) {
    switch (id) {
        case status::button::unblock:
            if (!BLOCK_CALLSIGN.value().empty()) {
                unblockCallsign();
            } else {
                showNoLog("Nothing to block or unblock...");
            }
            if (!CALLSIGN_2_OBJECTID.value().empty())
                ctx_.controls.setEnabled(status::button::block, true);
            return true;
        case status::button::callsignList:
            ctx_.requests.callsignListRequested = true;
            ctx_.controls.setEnabled(status::button::block, false);
            return true;
        case status::button::block:
            blockSelected();
            ctx_.controls.setEnabled(status::button::block, false);
            return true;
        case status::button::reRead:
            ctx_.requests.reReadRequested = true;
            ctx_.controls.setEnabled(status::button::reRead, false);
            ctx_.controls.setEnabled(DESTINATION.controlId, false);
            return true;
        case status::button::flushStatic:
            showNoLog("All static parked aircraft will be removed ...");
            ctx_.requests.flushStaticRequested = true;
            ctx_.controls.setEnabled(status::button::flushStatic, false);
            return true;
        case status::button::tbloZip:
            return services::shellOpen(ctx_.installFolder / "tblo" / "tblo.zip",
                                       "Could not open File Explorer at tblo.zip.",
                                       [this](std::string_view caption, std::string_view text) {
                                           ctx_.window.showWarning(std::string(caption),
                                                                   std::string(text));
                                       });
        case status::button::now:
            if (ctx_.subsystems.airports.parkAirportSet()) {
                if (INITIAL_LOAD_ONLY.value()) {
                    ctx_.messages.clearMessage();
                } else {
                    announceStaticUpdate();
                    ctx_.requests.renewalMinutesLeft = renewalMinutes;
                    ctx_.display.update(
                        [](status::DisplaySnapshot& d) { d.minutesToRenewal = renewalMinutes; });
                }
            }
            ctx_.window.repaintBand(status::Band::Controls);
            return true;
        default:
            return false;
    }
}

bool Commands::onCheckBoxCommand(status::ControlId id) {
    CheckBox* box = checkBoxWithId(id);
    if (box == nullptr) return false;
    const bool on = !box->value();
    box->setCurrent(on);
    ctx_.controls.setChecked(id, on);
    ctx_.settings.saveFlag(*box);

    const auto showWhen = [&](bool condition, const std::string& text) {
        if (condition) {
            showNoLog(text);
        } else {
            ctx_.messages.clearMessage();
        }
    };

    if (box == &LIG_PRIORITIZE) {
        showWhen(on,
                 "Liveries, for airl+model, in lower lfolders that are already available will be "
                 "skipped");
    } else if (box == &COLLISION_LIVE_PARKED_GND) {
        showWhen(
            !on,
            "Be aware, live aircraft may collide with (run through) static parked on the ground");
    } else if (box == &COLLISION_USER_GND) {
        showWhen(!on,
                 "Be aware, user aircraft may collide with (run through) live aircraft and static "
                 "parked on the ground");
    } else if (box == &COLLISION_USER_AIR) {
        showWhen(!on,
                 "Be aware, user aircraft may collide with (run through) live aircraft in the air");
    } else if (box == &INITIAL_LOAD_ONLY) {
        showWhen(on, fmt::format("Initial Load Only: static parked aircraft are generated once, no "
                                 "renewal every {} minutes",
                                 renewalMinutes));
        if (controlsReady_) ctx_.controls.setEnabled(status::button::now, !on);
        ctx_.window.repaintBand(status::Band::Controls);
    } else if (box == &ALWAYS_ON_TOP) {
        showWhen(on, fmt::format("{}'s window will remain visible", programName));
        ctx_.window.setTopmost(on);
        ctx_.window.repaintBand(status::Band::Controls);
    } else if (box == &GUID_CHANGES) {
        showWhen(!on,
                 "Be aware, no more livery updates: you miss correct data for Learn, LittleNavMap, "
                 "etc!");
        ctx_.window.repaintBand(status::Band::Controls);
    } else if (box == &AEROWINX) {
        showWhen(on,
                 fmt::format("Note: This mode is for Aerowinx PSX users only, please re-start {}",
                             programName));
    } else if (box == &AUTO_RANGE) {
        onAutoRangeChanged();
    } else if (box == &SCAN_LIVERIES || box == &SCAN_AIRPORTS) {
        const bool liveries = box == &SCAN_LIVERIES;
        const std::string what = liveries ? "liveries" : "airports";
        if (!on) {
            ctx_.messages.clearMessage();
        } else if (ctx_.run.awaitingRealTraffic) {
            // Nothing is flying yet: restart at once and scan.
            if (liveries) ctx_.subsystems.liveries.clearLiveryData();
            showAndLog(fmt::format("Your {} will be scanned", what));
            ctx_.run.requestStop(services::ExitReason::NewSettings, 2);
        } else {
            showNoLog(
                fmt::format("Your {} will be scanned at the next start of {}", what, programName));
        }
    } else if (box == &NAV_LIGHTS_WHILE_PARKED) {
        ctx_.subsystems.traffic.setParkedLights(on);
    } else if (box == &AIRBORNE_ONLY) {
        showWhen(
            on,
            fmt::format(
                "Be aware, airborne live traffic only!  (greater than {:.0f} ft above ground ...)",
                airborneOnlyMarginFeet));
        ctx_.window.repaintBand(status::Band::Controls);
    }
    return true;
}

void Commands::onListSelected(status::ControlId id, int index, const std::string& text) {
    try {
        if (id == CALLSIGN_2_OBJECTID.controlId) {
            if (text == CALLSIGN_2_OBJECTID.value()) return;
            CALLSIGN_2_OBJECTID.setCurrent(text);
            ctx_.display.update([](status::DisplaySnapshot& d) { d.selectionText.clear(); });
            ctx_.window.repaintBand(status::Band::Controls);
            ctx_.subsystems.traffic.selectionChanged();
            ctx_.controls.setEnabled(status::button::block, BLOCK_CALLSIGN.value().empty());
            return;
        }
        if (id == MAX_FIT_FL.controlId) {
            if (index < 0 || index >= static_cast<int>(MAX_FIT_FL.choices().size())) return;
            const float hours = MAX_FIT_FL.choices()[static_cast<std::size_t>(index)];
            MAX_FIT_FL.setCurrent(hours);
            MAX_FIT.setCurrent(static_cast<std::int32_t>(std::lround(2.0 * hours)) - 1);
            ctx_.settings.saveNumber(MAX_FIT);
        } else {
            onNumberListSelected(id, index);
        }
        // Labels beside the lists take their colour from the values.
        ctx_.window.repaintBand(status::Band::Controls);
    } catch (const std::exception& e) {
        services::logMarked("{} exception {}", "lf_HandleWMCOMMAND", e.what());
    }
}

void Commands::onNumberListSelected(status::ControlId id, int index) {
    ChoiceList<std::int32_t>* list = numberListWithId(id);
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->choices().size())) return;
    const std::int32_t old = list->value();
    list->setCurrent(list->choices()[static_cast<std::size_t>(index)]);
    ctx_.settings.saveNumber(*list);

    if (list == &MATCHING_DEPTH) {
        if (list->value() > old) ctx_.requests.rematchRequested = true;
    } else if (list == &RANGE) {
        setRange(list->value());
    } else if (list == &MAX_LIVE_SEL) {
        const std::size_t live = ctx_.subsystems.traffic.liveCountInSim();
        const auto maximum = static_cast<std::size_t>(list->value());
        if (live > maximum) ctx_.subsystems.traffic.removeFarthestLive(live - maximum);
    }
}

void Commands::onEditEnter(status::ControlId id, const std::string& text) {
    try {
        ctx_.messages.clearMessage();
        if (id == BLOCK_CALLSIGN.controlId) {
            setBlockCallsign(text);
        } else if (id == DESTINATION.controlId) {
            setDestination(text);
        } else if (id == ALL_INSTALL_PATH.controlId) {
            setInstallPath(text);
        }
    } catch (const std::exception& e) {
        services::logMarked("{} exception {}", "onEditEnter", e.what());
    }
}

void Commands::setInstallPath(const std::string& text) {
    ctx_.messages.clearAll();
    if (text.empty()) {
        if (!SIM_INSTALL_PATH.value().empty()) {
            SIM_INSTALL_PATH.setCurrent("");
            ctx_.settings.saveText(SIM_INSTALL_PATH);
        }
        return;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(text), ec);
    if (fs::exists(status)) {
        ALL_INSTALL_PATH.setCurrent(text);
        SIM_INSTALL_PATH.setCurrent(text);
        ctx_.settings.saveText(SIM_INSTALL_PATH);
        // Only the first stop of a run counts: promise a restart only when one will follow.
        const bool restarts =
            ctx_.run.requestStop(services::ExitReason::NewSettings, 3) ||
            (services::restartsAfter(ctx_.run.exitReason()) && !ctx_.run.userClosedWindow);
        if (restarts) showAndLog(fmt::format("Install path exists, {} will restart", programName));
        return;
    }
    // A path through a regular file is just as missing.
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory) {
        showAndLog(fmt::format("Cannot access install path '{}': {}", text, ec.message()));
    } else {
        showAndLog(fmt::format("This install path does not exist: {}", text));
    }
    ALL_INSTALL_PATH.showCurrent(ctx_.controls);
}

void Commands::setBlockCallsign(const std::string& text) {
    if (text.empty()) {
        if (!BLOCK_CALLSIGN.value().empty()) unblockCallsign();
        return;
    }
    if (text.size() < 4 || text.size() > 8) {
        showAndLog(fmt::format("callsign '{}' is not valid", text));
    } else if (const std::string callsign = common::upperCase(text);
               callsign == BLOCK_CALLSIGN.value()) {
        showAndLog(fmt::format("callsign '{}' was already set ...", callsign));
    } else {
        if (callsign == CALLSIGN_2_OBJECTID.value()) {
            ctx_.subsystems.traffic.dropFromCallsignList(callsign);
        }
        BLOCK_CALLSIGN.setCurrent(callsign);
        ctx_.settings.saveText(BLOCK_CALLSIGN);
        ctx_.controls.setEnabled(status::button::unblock, true);
        ctx_.requests.blockChanged = true;
    }
    BLOCK_CALLSIGN.showCurrent(ctx_.controls);
}

void Commands::unblockCallsign() {
    const std::string old = BLOCK_CALLSIGN.value();
    BLOCK_CALLSIGN.setCurrent("");
    ctx_.settings.saveText(BLOCK_CALLSIGN);
    BLOCK_CALLSIGN.showCurrent(ctx_.controls);
    ctx_.controls.setEnabled(status::button::unblock, false);
    showAndLog(fmt::format("no more blocking of live aircraft '{}'", old));
    ctx_.requests.blockChanged = true;
}

void Commands::blockSelected() {
    const std::string callsign = CALLSIGN_2_OBJECTID.value();
    BLOCK_CALLSIGN.setCurrent(callsign);
    ctx_.settings.saveText(BLOCK_CALLSIGN);
    BLOCK_CALLSIGN.showCurrent(ctx_.controls);
    ctx_.controls.setEnabled(status::button::unblock, true);
    ctx_.requests.blockChanged = true;
    ctx_.subsystems.traffic.dropFromCallsignList(callsign);
}

void Commands::setDestination(const std::string& text) {
    if (text.empty()) {
        DESTINATION.setCurrent("");
        ctx_.controls.setEnabled(status::button::reRead, true);
        showAndLog("destination set to empty");
        return;
    }
    if (text.size() != 4) {
        showAndLog(fmt::format("destination '{}' is not valid", text));
    } else if (const std::string code = common::upperCase(text); code == DESTINATION.value()) {
        showAndLog(fmt::format("destination '{}' was already set ...", code));
    } else if (!ctx_.catalogue.isRtSupported(code)) {
        showAndLog(fmt::format("destination '{}' is unknown ...", code));
    } else {
        applyDestination(code);
    }
    DESTINATION.showCurrent(ctx_.controls);
}

void Commands::applyDestination(const std::string& code) {
    DESTINATION.setCurrent(code);
    ctx_.settings.saveText(DESTINATION);
    DESTINATION.showCurrent(ctx_.controls);
    showAndLog(fmt::format("New destination: {}", code));
    ctx_.subsystems.airports.setDestination(code);
    ctx_.controls.setEnabled(status::button::reRead, false);
}

void Commands::computeAutoRadius() {
    const sim::UserAircraftState user = ctx_.subsystems.simulator.userAircraft();
    setRange(
        autoRadiusNm({user.onGround, user.altitudeFeet, AR_ABOVE_HEIGHT.value(),
                      AIRP_HEIGHT.value(), ctx_.subsystems.airports.firstParkAirportDistance()}));
}

void Commands::onAutoRangeChanged() {
    const bool automatic = AUTO_RANGE.value();
    int manual = 0;
    {
        std::lock_guard lock(radiusMutex_);
        if (manualRadius_ < 0) manualRadius_ = RANGE.defaultValue();
        if (automatic) manualRadius_ = RANGE.value();
        manual = manualRadius_;
    }
    if (automatic) {
        computeAutoRadius();
    } else {
        setRange(manual);
        ctx_.messages.clearMessage();
    }
    ctx_.controls.setEnabled(RANGE.controlId, !automatic);
    ctx_.controls.setEnabled(AR_ABOVE_HEIGHT.controlId, automatic);
    ctx_.window.repaintBand(status::Band::Controls);
}

void Commands::setRange(int nauticalMiles) {
    RANGE.setCurrent(nauticalMiles);
    if (const int index = RANGE.currentIndex(); index >= 0) {
        ctx_.controls.selectListEntry(RANGE.controlId, index);
    }
}

void Commands::announceStaticUpdate() {
    lockParkingControls();
    const int seconds = 15 - ctx_.run.secondCount % 15;
    showNoLog(fmt::format("{} will update static parking in {} second{} ...", programName, seconds,
                          seconds == 1 ? "" : "s"));
    ctx_.requests.staticRenewalRequested = true;
}

void Commands::setParkingControlsEnabled(bool enabled) {
    for (status::ControlId id :
         {parking_percentage.controlId, MAX_FIT_FL.controlId, MAX_PARK_SEL.controlId,
          MAX_LIVE_SEL.controlId, WEEK.controlId, PARK_SOFT.controlId, status::button::flushStatic,
          status::button::reRead}) {
        ctx_.controls.setEnabled(id, enabled);
    }
    if (!INITIAL_LOAD_ONLY.value()) ctx_.controls.setEnabled(status::button::now, enabled);
}

void Commands::lockParkingControls() {
    ctx_.requests.staticComputationRunning = true;
    ctx_.display.update([](status::DisplaySnapshot& d) { d.staticComputationRunning = true; });
    setParkingControlsEnabled(false);
    ctx_.window.repaintBand(status::Band::Controls);
}

void Commands::unlockParkingControls() {
    ctx_.requests.staticComputationRunning = false;
    ctx_.display.update([](status::DisplaySnapshot& d) {
        d.staticComputationRunning = false;
        d.minutesToRenewal = renewalMinutes;
    });
    setParkingControlsEnabled(true);
    ctx_.window.repaintBand(status::Band::Controls);
}

}  // namespace corv::ui
