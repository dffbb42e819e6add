#include "live/LiveTable.hpp"

#include <algorithm>

namespace corv::live {

LiveAircraft* LiveTable::findHexid(std::uint32_t hexid) {
    const auto found = std::find_if(aircraft.begin(), aircraft.end(),
                                    [hexid](const LiveAircraft& ac) { return ac.hexid == hexid; });
    return found == aircraft.end() ? nullptr : &*found;
}

LiveAircraft* LiveTable::findObject(std::uint32_t objectId) {
    if (objectId == 0) return nullptr;
    const auto found =
        std::find_if(aircraft.begin(), aircraft.end(),
                     [objectId](const LiveAircraft& ac) { return ac.objectId == objectId; });
    return found == aircraft.end() ? nullptr : &*found;
}

bool LiveTable::baseCallsignLive(std::string_view callsign) const {
    if (callsign.empty()) return false;
    const std::string_view base = callsign.substr(0, callsign.size() - 1);
    return std::any_of(aircraft.begin(), aircraft.end(), [base](const LiveAircraft& ac) {
        return ac.callsign == base && ac.state != AcState::RemovingFromSim;
    });
}

}  // namespace corv::live
