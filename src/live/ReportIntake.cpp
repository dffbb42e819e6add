#include "live/ReportIntake.hpp"

#include <algorithm>
#include <cmath>

#include "live/AircraftTexts.hpp"
#include "live/CallsignAirline.hpp"
#include "live/HandlingValues.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"

namespace corv::live {

namespace {

using realtraffic::TrafficReport;

constexpr double newerByMoreThanSeconds = 1.0;
constexpr double nmFor450Metres = 0.2429805615550756;
constexpr double nmFor20Metres = 0.010799136069114472;
constexpr double groundPauseLimitSeconds = 15.0;
constexpr double nearParkElevationFt = 120.0;
constexpr double noParkElevationFt = -1000.0;
constexpr double lowAltitudeFt = 10000.0;

double trackDifference(double a, double b) {
    const double difference = std::fmod(std::fabs(a - b), 360.0);
    return std::min(difference, 360.0 - difference);
}

// A buffered or new aircraft that seems to stand at the park airport's height while reported
// airborne is left out: its altitude cannot be told from the ground's.
bool nearParkElevation(const TrafficReport& report, const IntakeContext& context) {
    const double elevation = context.parkElevationFt.value_or(noParkElevationFt);
    return report.altitude > 0.0 && report.altitude < lowAltitudeFt &&
           std::fabs(report.altitude - elevation) <= nearParkElevationFt;
}

// A speed that jumps tenfold, or from a standstill to a flying speed, is a bad report.
bool speedJumps(double previous, double now) {
    return (previous > 5.0 && now >= 10.0 * previous) || (now > 5.0 && previous >= 10.0 * now) ||
           (previous <= 5.0 && now >= 80.0) || (now <= 5.0 && previous >= 80.0);
}

// Reports closer to the previous one than the motion needs are not kept.
bool tooClose(const TrafficReport& report, const PositionBlock& newest, double lastTimestamp) {
    const double speed = report.groundSpeed;
    const double elapsed = report.timestamp - lastTimestamp;
    if (report.airborne) {
        return speed > 120.0 && trackDifference(report.track, newest.track) <= 1.0 &&
               elapsed < nmFor450Metres / (speed / 3600.0);
    }
    const double limit = speed == 0.0
                             ? groundPauseLimitSeconds
                             : std::min(groundPauseLimitSeconds, nmFor20Metres / (speed / 3600.0));
    return speed <= 30.0 && trackDifference(report.track, newest.track) <= 2.0 && elapsed <= limit;
}

bool classBorn(int aircraftClass, const IntakeSettings& settings) {
    switch (aircraftClass) {
        case liveries::categoryLight:
            return settings.lightAircraft;
        case liveries::categoryHighPerformance:
            return settings.highPerformance;
        case liveries::categoryRotorcraft:
            return settings.helicopters;
        default:
            return aircraftClass >= 0 && aircraftClass < liveries::categoryCount;
    }
}

void giveBirth(const TrafficReport& report, IntakeContext& context) {
    const int aircraftClass = context.reference.category(report.identity.model);
    if (!classBorn(aircraftClass, context.settings)) return;
    if (nearParkElevation(report, context)) return;
    LiveAircraft& born = context.table.aircraft.emplace_back();
    born.identity = report.identity;
    born.origin = report.origin;
    born.destination = report.destination;
    born.callsign = report.callsign;
    born.scheduleCallsign = report.callsign;
    born.registration = report.registration;
    born.aircraftClass = aircraftClass;
    born.handling = handlingValuesFor(aircraftClass, context.random);
    born.hexid = report.hexid;
    born.stream.push_back(positionBlockOf(report));
    born.lastTimestamp = report.timestamp;
    born.lastReportedSpeed = report.groundSpeed;
}

bool differs(const common::AircraftIdentity& a, const liveries::DbaseRecord& b) {
    return a.airline != b.airline || a.operatorIndex != b.operatorIndex || a.model != b.model;
}

// Whether the reported registration names the aircraft differently: another installed livery,
// or another airframe in the reference data.
bool registrationChangesLivery(LiveAircraft& aircraft, const std::string& registration,
                               IntakeContext& context) {
    const liveries::DbaseRecord* record = context.reference.dbaseRecord(registration);
    const std::string title = context.indexes != nullptr
                                  ? context.indexes->registrations.titleOf(registration)
                                  : std::string();
    if (!title.empty()) {
        if (title == aircraft.liveryTitle) return false;
        if (record) takeIdentity(aircraft, *record);
        return true;
    }
    if (registration == aircraft.registration) return false;
    if (record && differs(aircraft.identity, *record)) {
        takeIdentity(aircraft, *record);
        return true;
    }
    return false;
}

bool registrationChanges(LiveAircraft& aircraft, const TrafficReport& report,
                         IntakeContext& context) {
    const std::string& registration = report.registration;
    bool changed = false;
    if (aircraft.registration.empty() ||
        (aircraft.callsignFromRegistration && registration != aircraft.registration)) {
        changed = registrationChangesLivery(aircraft, registration, context);
    } else if (registration != aircraft.registration) {
        const liveries::DbaseRecord* record = context.reference.dbaseRecord(registration);
        const auto designator = airlineDesignatorOf(report.callsign);
        if (record && differs(aircraft.identity, *record) && designator) {
            const auto airline = context.reference.findAirline(*designator);
            if (airline && (*airline == record->airline || *airline == record->operatorIndex)) {
                takeIdentity(aircraft, *record);
                // The stand learns the stay under the new registration.
                aircraft.registration = registration;
                if (aircraft.phase == AcPhase::Parked)
                    context.actions.refreshLearnedStand(aircraft);
                changed = true;
            }
        }
    }
    aircraft.registration = registration;
    return changed;
}

bool routeChanges(LiveAircraft& aircraft, const TrafficReport& report) {
    const bool bothNew = !report.origin.empty() && !report.destination.empty() &&
                         report.origin != aircraft.origin &&
                         report.destination != aircraft.destination;
    if (bothNew) {
        aircraft.origin = report.origin;
        aircraft.destination = report.destination;
        if (aircraft.onGroundMode && aircraft.phase != AcPhase::Parking &&
            aircraft.phase != AcPhase::Parked) {
            aircraft.phase = AcPhase::Taxi;
        }
        return true;
    }
    bool taken = false;
    if (aircraft.origin.empty() && !report.origin.empty()) {
        aircraft.origin = report.origin;
        taken = true;
    }
    if (aircraft.destination.empty() && !report.destination.empty()) {
        aircraft.destination = report.destination;
        taken = true;
    }
    return taken;
}

enum class Update { Accept, Reject, Respawned };

Update updateIdentity(LiveAircraft& aircraft, const TrafficReport& report, IntakeContext& context) {
    if (aircraft.departing || aircraft.landing) return Update::Accept;
    if (aircraft.state == AcState::Buffer) {
        if (!report.origin.empty()) aircraft.origin = report.origin;
        if (!report.destination.empty()) aircraft.destination = report.destination;
        if (!report.callsign.empty()) aircraft.callsign = report.callsign;
        if (!report.registration.empty()) aircraft.registration = report.registration;
        return Update::Accept;
    }
    if (aircraft.state != AcState::Active || aircraft.phase == AcPhase::PushingBack ||
        aircraft.extensionCount > 0) {
        return Update::Accept;
    }

    bool changed = routeChanges(aircraft, report);
    if (!report.registration.empty() && registrationChanges(aircraft, report, context))
        changed = true;
    const std::string& callsign = report.callsign;
    if (!callsign.empty() && callsign != aircraft.callsign && callsign != aircraft.registration) {
        if (callsign.ends_with('_') && context.table.baseCallsignLive(callsign))
            return Update::Reject;
        removeGhostOf(callsign, context);
        aircraft.callsign = callsign;
        aircraft.scheduleCallsign = callsign;
        aircraft.scheduleSecondCallsign.clear();
        changed = true;
    }
    if (!changed || !context.settings.respawnOnIdentityChange) return Update::Accept;
    services::log("          {} respawns", flightText(aircraft.callsign, aircraft.registration,
                                                      aircraft.origin, aircraft.destination));
    context.actions.liveryRespawn(aircraft);
    return Update::Respawned;
}

}  // namespace

void takeIdentity(LiveAircraft& aircraft, const liveries::DbaseRecord& record) {
    aircraft.identity = {record.airline, record.operatorIndex, record.model, record.cargo, true};
}

void removeGhostOf(std::string_view callsign, IntakeContext& context) {
    const std::string ghostName = std::string(callsign) + "_";
    for (LiveAircraft& ghost : context.table.aircraft) {
        if (ghost.callsign != ghostName || ghost.state == AcState::RemovingFromSim) continue;
        if (ghost.phase == AcPhase::Parked) {
            services::log("{:8}: {:8} is a ghost and will be removed, continue with {}",
                          ghost.standId, ghost.callsign, callsign);
        } else {
            services::log("          {:8} is a ghost and will be removed, continue with {}",
                          ghost.callsign, callsign);
        }
        context.table.ghosts.insert(ghostName);
        context.actions.removeFromSim(ghost);
    }
}

void intakeReport(const TrafficReport& report, IntakeContext& context) {
    LiveAircraft* aircraft = context.table.findHexid(report.hexid);
    if (aircraft == nullptr) {
        const auto sameAircraft = [&report](const LiveAircraft& ac) {
            return ac.callsign == report.callsign && ac.identity.model == report.identity.model;
        };
        if (!report.callsign.empty() && std::any_of(context.table.aircraft.begin(),
                                                    context.table.aircraft.end(), sameAircraft)) {
            return;
        }
        giveBirth(report, context);
        return;
    }
    if (aircraft->state == AcState::LiveryRespawn || aircraft->state == AcState::RemovingFromSim)
        return;
    if (!aircraft->stream.empty()) {
        const PositionBlock& newest = aircraft->stream.back();
        if (report.timestamp - aircraft->lastTimestamp <= newerByMoreThanSeconds) return;
        if (speedJumps(aircraft->lastReportedSpeed, report.groundSpeed)) return;
        if (aircraft->extensionCount <= 0 && tooClose(report, newest, aircraft->lastTimestamp))
            return;
    }
    if (aircraft->state == AcState::Buffer && nearParkElevation(report, context)) return;
    if (updateIdentity(*aircraft, report, context) != Update::Accept) return;
    aircraft->lastTimestamp = report.timestamp;
    aircraft->lastReportedSpeed = report.groundSpeed;
    context.actions.appendPoint(*aircraft, positionBlockOf(report));
}

}  // namespace corv::live
