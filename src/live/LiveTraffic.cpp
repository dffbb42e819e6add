#include "live/LiveTraffic.hpp"
#include "liveries/AircraftCategory.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <limits>

#include <fmt/format.h>

#include "common/GreatCircle.hpp"
#include "live/AircraftTexts.hpp"
#include "liveries/LiverySource.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "status/ControlIds.hpp"
#include "status/ControlStates.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::live {

LiveTraffic::LiveTraffic(LiveServices services) : services_(services) {}

void LiveTraffic::reserveCapacity() {
    table_.aircraft.reserve(reservedAircraft);
}

IntakeContext LiveTraffic::intakeContext() {
    return {table_,
            services_.reference,
            services_.liveries.indexes(),
            {settings::LIGHT_AIRCRAFT.value(), settings::HIGH_PERF_AIRCRAFT.value(),
             settings::HELICOPTERS.value(), settings::GUID_CHANGES.value()},
            std::nullopt,
            *this,
            services_.random};
}

std::string LiveTraffic::description(const LiveAircraft& aircraft) const {
    return descriptionText({aircraft.callsign, aircraft.registration, aircraft.origin,
                            aircraft.destination, aircraft.identity},
                           services_.reference);
}

void LiveTraffic::intakeReport(const realtraffic::TrafficReport& report) {
    IntakeContext context = intakeContext();
    live::intakeReport(report, context);
}

void LiveTraffic::handleAddingStack() {
    processSimNotices();

    for (std::size_t i = 0; i < table_.aircraft.size(); ++i) {
        LiveAircraft& aircraft = table_.aircraft[i];
        try {
            if (aircraft.state == AcState::Buffer) {
                updateBuffered(aircraft);
            } else if (aircraft.state == AcState::Active) {
                updateActive(aircraft);
            }
        } catch (const std::exception& e) {
            services::log("{}: {} {}, sz:{}, fs:{}, st:{}", "updateLiveAc", e.what(),
                          description(aircraft), aircraft.stream.size(), phaseText(aircraft.phase),
                          stateText(aircraft.state));
        }
    }
    std::erase_if(table_.aircraft, [](const LiveAircraft& aircraft) {
        return aircraft.erase || aircraft.withdrawn;
    });

    sim::SimQueues& queues = services_.simulator.queues();
    queues.handOverPositions();

    const std::int32_t tick = services_.run.liveTickCount;
    if (tick % 10 == 0) {
        if (!removals_.empty()) {
            queues.queueRemoval(removals_.front());
            removals_.pop_front();
        } else if (services_.statics != nullptr) {
            if (const auto object = services_.statics->nextRemoval()) queues.queueRemoval(*object);
        }
    }
    if (tick % creationIntervalTicks == 0) queueNextCreation();

    // Up to two reports a tick, so a burst of traffic never stalls the cycle.
    std::array<realtraffic::TrafficReport, 2> reports;
    const std::size_t taken = services_.realTraffic.takeReports(reports);
    for (std::size_t i = 0; i < taken; ++i)
        intakeReport(reports[i]);

    if (!spawnStack_.empty()) {
        const std::uint32_t hexid = spawnStack_.back();
        spawnStack_.pop_back();
        if (LiveAircraft* aircraft = table_.findHexid(hexid)) {
            if (aircraft->callsign.empty()) {
                services::log("{} {} objectid = 0?", "lf_handleAddingStack",
                              description(*aircraft));
            } else {
                const SimPosition& at = aircraft->sim;
                constexpr double degrees = 180.0 / 3.14159265358979323846;
                sim::CreationRequest request;
                request.position = {at.latitude,
                                    at.longitude,
                                    at.altitude,
                                    at.pitch * degrees,
                                    at.bank * degrees,
                                    at.heading * degrees,
                                    !aircraft->stream.back().airborne,
                                    static_cast<std::uint32_t>(std::max(0.0, at.trueAirspeed))};
                request.tailNumber = aircraft->callsign;
                request.liveryTitle = std::string(aircraft->liveryTitle);
                request.key = static_cast<sim::AircraftKey>(aircraft->hexid);
                liveCreations_.push_back(std::move(request));
            }
        }
    }

    if (tick % (fastRequests_ ? 20 : 100) == 0) services_.simulator.requestNearbyAircraft();
    // RealTraffic hears where the user flies five times a second; the user's state is asked
    // once a second.
    if (tick % 20 == 0) services_.realTraffic.sendUserPosition();
    if (tick % 100 == 0) services_.simulator.requestUserState();
    services_.run.liveTickCount += 1;
}

void LiveTraffic::queueNextCreation() {
    if (liveCreations_.empty()) {
        // Live aircraft always go first; static ones take the slots left over.
        if (services_.statics != nullptr)
            services_.statics->onCreationSlot(services_.simulator.queues());
        return;
    }
    services_.simulator.queues().queueCreation(std::move(liveCreations_.front()));
    liveCreations_.pop_front();
}

void LiveTraffic::removeAllLive() {
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state == AcState::Active || aircraft.state == AcState::Adding2Sim)
            removeFromSim(aircraft);
    }
    std::erase_if(table_.aircraft, [](const LiveAircraft& aircraft) { return aircraft.withdrawn; });
}

void LiveTraffic::recountLive() {
    liveInSim_ = static_cast<std::size_t>(
        std::count_if(table_.aircraft.begin(), table_.aircraft.end(),
                      [](const LiveAircraft& ac) { return ac.state == AcState::Active; }));
    const int count = static_cast<int>(liveInSim_);
    services_.display.update([count](status::DisplaySnapshot& d) { d.liveCount = count; });
    services_.window.repaintBand(status::Band::Status);
    showParkedStatistics();
}

double LiveTraffic::distanceFromUser(const LiveAircraft& aircraft) const {
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    return common::distanceNm({user.latitude, user.longitude},
                              {aircraft.sim.latitude, aircraft.sim.longitude});
}

bool LiveTraffic::removeFarthest(double threshold) {
    double farthest = threshold < 0 ? -std::numeric_limits<double>::infinity() : threshold;
    const double margin = threshold < 0 ? 0.0 : 0.1;
    LiveAircraft* candidate = nullptr;
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state != AcState::Active) continue;
        const double distance = distanceFromUser(aircraft);
        if (distance > farthest + margin) {
            farthest = distance;
            candidate = &aircraft;
        }
    }
    if (candidate == nullptr) return false;
    removeFromSim(*candidate);
    return true;
}

void LiveTraffic::removeFarthestLive(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        removeFarthest(-1.0);
}

void LiveTraffic::removeBlockedCallsign(const std::string& callsign) {
    if (callsign.empty()) return;
    const auto found =
        std::find_if(table_.aircraft.begin(), table_.aircraft.end(), [&](const LiveAircraft& ac) {
            return ac.callsign == callsign && ac.state == AcState::Active;
        });
    if (found != table_.aircraft.end()) removeFromSim(*found);
}

void LiveTraffic::rebuildCallsignList() {
    settings::CallsignList::Entries entries;
    for (const LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.state == AcState::Active && aircraft.phase != AcPhase::Parked)
            entries.emplace(aircraft.callsign, aircraft.objectId);
    }
    std::vector<std::string> callsigns;
    for (const auto& [callsign, objectId] : entries)
        callsigns.push_back(callsign);
    const bool any = !callsigns.empty();
    settings::CALLSIGN_2_OBJECTID.setEntries(std::move(entries));
    settings::CALLSIGN_2_OBJECTID.setCurrent(any ? callsigns.front() : std::string());
    status::ControlStates& controls = services_.controls;
    const status::ControlId list = settings::CALLSIGN_2_OBJECTID.controlId;
    controls.setListEntries(list, std::move(callsigns));
    controls.selectListEntry(list, any ? 0 : -1);
    controls.setEnabled(list, any);
    controls.setEnabled(status::button::block, any);
    controls.setEnabled(status::button::unblock, false);
}

void LiveTraffic::dropFromCallsignList(const std::string&) {
    settings::CALLSIGN_2_OBJECTID.setEntries({{std::string(), 0}});
    settings::CALLSIGN_2_OBJECTID.setCurrent(std::string());
    services_.display.update([](status::DisplaySnapshot& d) { d.selectionText.clear(); });
    status::ControlStates& controls = services_.controls;
    const status::ControlId list = settings::CALLSIGN_2_OBJECTID.controlId;
    controls.setListEntries(list, {std::string()});
    controls.setEnabled(list, false);
    controls.setEnabled(status::button::block, false);
}

void LiveTraffic::logNoLiverySet() {
    if (table_.noLivery.empty()) return;
    std::vector<std::string> keys(table_.noLivery.begin(), table_.noLivery.end());
    std::sort(keys.begin(), keys.end());
    services::log("\nNo match found for:");
    for (const std::string& key : keys)
        services::log("{}", key);
}

void LiveTraffic::resetRunState() {
    table_.aircraft.clear();
    table_.ghosts.clear();
    table_.noLivery.clear();
    spawnStack_.clear();
    liveCreations_.clear();
    removals_.clear();
    staticTwinChecks_.clear();
    fastRequests_ = false;
    liveInSim_ = 0;
}

std::vector<parking::LiveAtStand> LiveTraffic::atStands() const {
    constexpr std::int32_t ticksPerMinute = 6000;
    std::vector<parking::LiveAtStand> atStands;
    for (const LiveAircraft& aircraft : table_.aircraft) {
        const bool atStand =
            aircraft.phase == AcPhase::Parked || aircraft.phase == AcPhase::Parking;
        if (!atStand || aircraft.standId.empty() || aircraft.state != AcState::Active) continue;
        atStands.push_back(
            {aircraft.callsign, aircraft.standId, aircraft.phase == AcPhase::Parked,
             aircraft.reportingWhileParked,
             (services_.run.liveTickCount - aircraft.parkedSinceTick) / ticksPerMinute,
             aircraft.aircraftClass == liveries::categoryHeavy});
    }
    return atStands;
}

void LiveTraffic::removeLive(const std::string& name) {
    for (LiveAircraft& aircraft : table_.aircraft) {
        if (aircraft.callsign == name && aircraft.state == AcState::Active) {
            removeFromSim(aircraft);
            return;
        }
    }
}

void LiveTraffic::removeGroundTraffic() {
    for (LiveAircraft& aircraft : table_.aircraft) {
        switch (aircraft.phase) {
            case AcPhase::PushingBack:
            case AcPhase::PushedBack:
            case AcPhase::Taxi:
            case AcPhase::TakeOff:
            case AcPhase::Parked:
                aircraft.standId.clear();
                if (aircraft.state == AcState::Active || aircraft.state == AcState::Adding2Sim)
                    removeFromSim(aircraft);
                break;
            case AcPhase::Flying:
            case AcPhase::Parking:
            case AcPhase::Birth:
                break;
        }
    }
}

}  // namespace corv::live
