#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "live/LiveAircraft.hpp"

namespace corv::live {

// The live aircraft of a run and what the traffic logic remembers about them; owned by the
// run-cycle thread.
struct LiveTable {
    std::vector<LiveAircraft> aircraft;
    // Callsigns with a trailing "_" that belong to another aircraft: never shown again.
    std::set<std::string, std::less<>> ghosts;
    // No-livery keys of aircraft no installed livery fits.
    std::unordered_set<std::string> noLivery;

    LiveAircraft* findHexid(std::uint32_t hexid);
    // The aircraft shown by that simulator object; never one without an object.
    LiveAircraft* findObject(std::uint32_t objectId);
    // True when a live aircraft that is not being removed carries the callsign without its
    // trailing "_".
    bool baseCallsignLive(std::string_view callsign) const;
};

}  // namespace corv::live
