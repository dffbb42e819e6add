#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "airports/TimeKey.hpp"
#include "common/AircraftIdentity.hpp"
#include "common/FixedCode.hpp"
#include "common/GreatCircle.hpp"
#include "live/AcState.hpp"
#include "live/HandlingValues.hpp"
#include "live/PositionBlock.hpp"

namespace corv::live {

// The stream keeps at most this many points; 30 seconds of reports need far fewer.
inline constexpr std::size_t maxStreamPoints = 200;

// Where the simulator shows the aircraft, sent every tick.
struct SimPosition {
    double latitude = 0.0;       // degrees
    double longitude = 0.0;      // degrees
    double pitch = 0.0;          // radians, negative is nose up
    double bank = 0.0;           // radians
    double heading = 0.0;        // radians, true
    double altitude = 0.0;       // feet
    double verticalSpeed = 0.0;  // feet per second
    double trueAirspeed = 0.0;   // knots
};

// What is added to the simulator position every tick of a segment.
struct SegmentIncrements {
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;
    double bank = 0.0;
    double pitch = 0.0;
    double altitude = 0.0;
};

// A taxi turn flown as a quadratic Bézier curve from where the aircraft is, with the reported
// corner as control point, to the point after it; control and end in nautical miles east and
// north of the start.
struct GroundCurve {
    double startLatitude = 0.0;
    double startLongitude = 0.0;
    double controlEast = 0.0;
    double controlNorth = 0.0;
    double endEast = 0.0;
    double endNorth = 0.0;
    double t = 0.0;
    double step = 0.0;  // per tick
};

// One aircraft of the feed, from its first report until it leaves the simulator.
struct LiveAircraft {
    // Identity: the report's type at birth, completed in the buffer and by the registration.
    common::AircraftIdentity identity;
    common::FixedCode<3> origin;  // empty when not known
    common::FixedCode<3> destination;
    std::string callsign;
    std::string scheduleCallsign;
    std::string scheduleSecondCallsign;
    bool scheduleLookedUp = false;
    std::string registration;
    // The callsign was missing and the registration took its place.
    bool callsignFromRegistration = false;
    int aircraftClass = 0;  // the category of the model
    HandlingValues handling;
    std::uint32_t hexid = 0;
    std::string_view liveryTitle;  // held by the matching indexes; empty until matched
    bool fsltl = false;

    // Simulator side.
    std::uint32_t objectId = 0;
    AcState state = AcState::Buffer;
    bool erase = false;
    bool withdrawn = false;
    bool removeWhenCreated = false;
    int activationTicks = -1;  // counts from the simulator's notice to activation; -1 before
    double altitudeAboveGround = 2500.0;  // as the simulator reported it for the object
    double altitudeAtGroundReport = 0.0;  // the object's altitude when that was reported
    double staticCgHeight = 0.0;          // feet; 0 while not known
    double staticPitch = 0.0;
    bool blockedNearUser = false;

    // Movement.
    AcPhase phase = AcPhase::Birth;
    AcPhase previousPhase = AcPhase::Birth;
    std::deque<PositionBlock> stream;  // oldest first
    double lastTimestamp = 0.0;
    // The ground speed of the last accepted report as reported: the speed check compares new
    // reports with it, not with a speed the program set (0 on a repeated position or a hold).
    double lastReportedSpeed = 0.0;
    SimPosition sim;
    SegmentIncrements increments;
    double segmentVerticalSpeed = 0.0;  // feet per minute
    double segmentTrueAirspeed = 0.0;
    std::optional<double> fixedHeading;  // while respawning
    std::int32_t early = 1000;           // ticks a due tick may move earlier
    std::int32_t late = 1000;
    int extensionCount = 0;  // above 0 while extrapolating, -1 exhausted
    bool holding = false;
    std::int32_t holdingSince = 0;
    int landingStage = 0;  // 1 to 4 in the flare
    bool goAround = false;
    bool landingRoll = false;
    bool landed = false;
    bool touchdownSettle = false;  // pitch and bank easing to their values on the ground
    double touchdownHeading = 0.0;
    int takeOffCounter = 0;
    // On the ground the nose turns towards the target heading at the turn rate, not by a
    // per-segment increment.
    bool turnInPlace = false;
    double targetHeading = 0.0;
    double turnRate = 0.0;  // radians per tick
    std::optional<GroundCurve> curve;
    double takeOffClimb = 0.0;  // feet per tick
    bool towed = false;
    bool lightsAbove10000 = false;
    bool lightsBelow10000 = false;
    bool onGroundMode = false;
    bool landing = false;
    bool departing = false;
    int throttleIndex = 5;  // none sent yet
    int flapsIndex = 4;

    // Parking.
    std::string standId;  // empty: no stand
    std::int32_t standNumber = 0;
    double standLatitude = 0.0;
    double standLongitude = 0.0;
    double standHeading = 0.0;  // radians
    bool cargoStand = false;
    airports::TimeKey parkSlot;        // the half hour of the week it parked
    std::int32_t parkedSinceTick = 0;  // the live tick of its last report at its stand
    bool reportingWhileParked = false;
    bool startMoving = false;           // new points show it leaving its stand
    double firstStandDistance = 0.0;    // nm, where its reports showed it standing
    double largestStandDistance = 0.0;  // nm
    int growingDistances = 0;
    std::optional<std::int32_t> setOffTick;  // when it left, by the first growing report
    common::GeoPoint lastParkTry{1000.0, 1000.0};
    // Leaving a stand backwards: 2 while pushing straight back, then the turn at its end.
    int pushbackCounter = 0;
    bool turnDirectionKnown = false;
    bool turnRight = false;
    std::optional<PositionBlock> otherTurnEnd;
    double pushedBackDistance = 0.0;  // nm: the farthest new point seen after the pushback
    // Where the last check against the static aircraft saw it on the ground.
    common::GeoPoint lastStaticCheck{1000.0, 1000.0};
};

}  // namespace corv::live
