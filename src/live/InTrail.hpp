#pragma once

#include "live/LiveAircraft.hpp"
#include "sim/SimulatorPort.hpp"

namespace corv::live {

struct InTrailLimits {
    double distanceNm;
    double heightFt;
    double sideFt;
};
inline constexpr InTrailLimits normalInTrail{4.0, 1000.0, 700.0};
inline constexpr InTrailLimits wideInTrail{6.0, 3000.0, 4000.0};  // before spawning

// The aircraft flies ahead of the user, close in height and near the user's line: the user
// would fly into it.
bool inTrailOfUser(const SimPosition& aircraft, const sim::UserAircraftState& user,
                   const InTrailLimits& limits);

}  // namespace corv::live
