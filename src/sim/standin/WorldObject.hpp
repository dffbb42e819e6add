#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimMessages.hpp"

namespace corv::sim::standin {

// The bits of the "LIGHT STATES" mask.
namespace light {
inline constexpr std::uint32_t nav = 0x1;
inline constexpr std::uint32_t beacon = 0x2;
inline constexpr std::uint32_t landing = 0x4;
inline constexpr std::uint32_t taxi = 0x8;
inline constexpr std::uint32_t strobe = 0x10;
inline constexpr std::uint32_t panel = 0x20;
inline constexpr std::uint32_t recognition = 0x40;
inline constexpr std::uint32_t wing = 0x80;
inline constexpr std::uint32_t logo = 0x100;
inline constexpr std::uint32_t cabin = 0x200;
inline constexpr std::uint32_t all = 0x3FF;
}  // namespace light

// A place an object passed, for drawing where it has been.
struct TrailPoint {
    double latitude = 0.0;
    double longitude = 0.0;
    bool onGround = false;
};

// One aircraft of the stand-in world: the user or an AI object.
struct WorldObject {
    ObjectId id = 0;
    bool isUser = false;
    std::string title;
    std::string atcModel;
    std::string tailNumber;  // its "ATC ID"

    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitudeFeet = 0.0;
    double pitch = 0.0;  // radians, negative is nose up
    double bank = 0.0;
    double heading = 0.0;  // radians, true
    double verticalSpeedFps = 0.0;
    double trueAirspeedKnots = 0.0;
    double groundSpeedKnots = 0.0;

    std::uint32_t lights = 0;
    bool gearDown = true;
    bool enginesRunning = false;
    double flapsPercent = 0.0;
    double spoilersPercent = 0.0;
    double throttle1Percent = 0.0;
    double throttle2Percent = 0.0;

    bool aiControlled = true;
    bool frozenLatLon = false;
    bool frozenAltitude = false;
    bool frozenAttitude = false;

    double staticCgFeet = 6.0;  // height of the centre of gravity when parked
    double staticPitch = 0.0;   // radians

    std::string departure;  // from its flight plan
    std::string destination;

    // When a move was last written to the log, which takes at most one a second per object.
    std::chrono::steady_clock::time_point lastMoveLogged{};
    bool moveLogged = false;

    // Its way over the last minutes, a point every few seconds and wherever it touched down or
    // lifted off, so that a picture shows landings, taxiing and pushbacks, not only where
    // everything stands.
    std::vector<TrailPoint> trail;
    std::chrono::steady_clock::time_point lastTrailPoint{};
};

// Altitude above the ground and on-ground agree: on the ground means resting on the wheels,
// with the centre of gravity at most a foot above its parked height.
inline double altitudeAboveGround(const WorldObject& object, double groundFeet) {
    const double above = object.altitudeFeet - groundFeet;
    return above > 0.0 ? above : 0.0;
}
inline bool isOnGround(const WorldObject& object, double groundFeet) {
    return altitudeAboveGround(object, groundFeet) <= object.staticCgFeet + 1.0;
}

}  // namespace corv::sim::standin
