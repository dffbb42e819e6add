#pragma once

#include <cstdint>

#include "sim/SimMessages.hpp"
#include "sim/SimOperations.hpp"

namespace corv::sim {

// The numbers by which the program and the simulator name definitions, requests, events and the
// notification group. They must stay as they are: replies carry them back.

namespace define {
inline constexpr DefineId landingRoll = 401;
inline constexpr DefineId aiPosition = 402;
inline constexpr DefineId userState = 403;
inline constexpr DefineId nearbyAircraft = 404;
inline constexpr DefineId staticCg = 405;
inline constexpr DefineId lightOnStates = 406;
inline constexpr DefineId userTitle = 407;
inline constexpr DefineId userModel = 408;
inline constexpr DefineId userOnGround = 409;
}  // namespace define

namespace request {
inline constexpr RequestId nearbyAircraft = 101;
inline constexpr RequestId staticCg = 102;
inline constexpr RequestId releaseControl = 103;
inline constexpr RequestId createAircraft = 104;
inline constexpr RequestId removeAircraft = 105;
inline constexpr RequestId userTitle = 106;
inline constexpr RequestId userModel = 107;
inline constexpr RequestId userOnGround = 108;
inline constexpr RequestId userState = 109;
inline constexpr RequestId flightPlan = 110;
}  // namespace request

namespace event {
// System events.
inline constexpr ClientEventId sim = 201;
inline constexpr ClientEventId objectAdded = 202;
inline constexpr ClientEventId objectRemoved = 203;
inline constexpr ClientEventId frame = 204;
inline constexpr ClientEventId positionChanged = 205;
inline constexpr ClientEventId flightLoaded = 206;
// Client events sent to AI objects.
inline constexpr ClientEventId beaconLightsSet = 207;
inline constexpr ClientEventId navLightsSet = 208;
inline constexpr ClientEventId taxiLightsSet = 209;
inline constexpr ClientEventId strobesSet = 210;
inline constexpr ClientEventId landingLightsSet = 211;
inline constexpr ClientEventId cabinLightsSet = 212;
inline constexpr ClientEventId logoLightsSet = 213;
inline constexpr ClientEventId allLightsToggle = 214;
inline constexpr ClientEventId freezeLatLonSet = 215;
inline constexpr ClientEventId freezeAltitudeSet = 216;
inline constexpr ClientEventId freezeAttitudeSet = 217;
inline constexpr ClientEventId flapsSet = 218;
inline constexpr ClientEventId spoilersSet = 219;
inline constexpr ClientEventId gearSet = 220;
inline constexpr ClientEventId engineAutoStart = 221;
inline constexpr ClientEventId engineAutoShutdown = 222;
inline constexpr ClientEventId throttleSet = 223;
}  // namespace event

inline constexpr GroupId notificationGroup = 301;

// Message kinds that arrive as OtherMessage and need nothing from the program.
namespace messageKind {
inline constexpr std::uint32_t assignedObjectId = 12;
inline constexpr std::uint32_t clientData = 16;
}  // namespace messageKind

// The user aircraft's object id until the simulator tells it.
inline constexpr ObjectId initialUserObjectId = 2;

}  // namespace corv::sim
