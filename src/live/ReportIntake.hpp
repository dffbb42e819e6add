#pragma once

#include <optional>

#include "live/LiveTable.hpp"
#include "realtraffic/TrafficReport.hpp"

namespace corv::liveries {
struct DbaseRecord;
class MatchingIndexes;
class RandomSource;
class ReferenceData;
}  // namespace corv::liveries

namespace corv::live {

// What the intake asks of the aircraft life cycle.
class LifeCycleActions {
  public:
    virtual ~LifeCycleActions() = default;
    virtual void removeFromSim(LiveAircraft& aircraft) = 0;
    virtual void liveryRespawn(LiveAircraft& aircraft) = 0;
    // A parked aircraft whose identity changed tells its stand what it learned.
    virtual void refreshLearnedStand(LiveAircraft& aircraft) = 0;
    // The accepted report's position, which the movement may still refuse.
    virtual void appendPoint(LiveAircraft& aircraft, const PositionBlock& point) = 0;
};

struct IntakeSettings {
    bool lightAircraft = true;
    bool highPerformance = true;
    bool helicopters = true;
    bool respawnOnIdentityChange = true;  // GUID_CHANGES
};

struct IntakeContext {
    LiveTable& table;
    liveries::ReferenceData& reference;
    const liveries::MatchingIndexes* indexes;  // null before the liveries are prepared
    IntakeSettings settings;
    std::optional<double> parkElevationFt;  // the park airport's, when one is set
    LifeCycleActions& actions;
    liveries::RandomSource& random;  // varies the handling of the newly born
};

// One received report: gives birth to a live aircraft, brings an existing one up to date and
// appends the position, or drops the report.
void intakeReport(const realtraffic::TrafficReport& report, IntakeContext& context);

// The aircraft is the airframe the reference data knows by its registration.
void takeIdentity(LiveAircraft& aircraft, const liveries::DbaseRecord& record);

// A live aircraft named `callsign` + "_" is that aircraft's ghost: it is removed and its name
// is never shown again.
void removeGhostOf(std::string_view callsign, IntakeContext& context);

}  // namespace corv::live
