#include "live/GhostCallsign.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/ReferenceData.hpp"

// What the live aircraft teach the park airport's week data about who stands where when.
namespace corv::live {

void LiveTraffic::lf_addRealStandOption(std::int32_t standNumber, LiveAircraft& aircraft,
                                        StandUse use) {
    const std::string registration = withoutGhostMark(aircraft.registration);
    if (registration.empty()) return;
    // Only an airframe the reference data knows is worth remembering.
    const liveries::DbaseRecord* record = services_.reference.dbaseRecord(registration);
    if (record == nullptr) return;
    takeIdentity(aircraft, *record);
    airports::Stand* stand = standByNumber(standNumber);
    if (stand == nullptr) return;
    services_.airport->updateCount += recordStay(*stand,
                                                 {registration, withoutGhostMark(aircraft.callsign),
                                                  aircraft.identity, aircraft.aircraftClass, use},
                                                 services_.timeKeyNow.load());
}

void LiveTraffic::refreshLearnedStand(LiveAircraft& aircraft) {
    lf_addRealStandOption(aircraft.standNumber, aircraft, StandUse::Arrived);
}

}  // namespace corv::live
