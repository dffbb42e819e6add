#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "common/AircraftIdentity.hpp"
#include "common/FixedCode.hpp"
#include "live/AcState.hpp"
#include "live/PositionBlock.hpp"

namespace corv::live {

// The stream keeps at most this many points; 30 seconds of reports need far fewer.
inline constexpr std::size_t maxStreamPoints = 200;

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
    std::uint32_t hexid = 0;
    std::string_view liveryTitle;  // held by the matching indexes; empty until matched
    bool fsltl = false;

    // Simulator side.
    std::uint32_t objectId = 0;
    AcState state = AcState::Buffer;
    bool erase = false;
    bool withdrawn = false;
    bool removeWhenCreated = false;

    // Movement.
    AcPhase phase = AcPhase::Birth;
    AcPhase previousPhase = AcPhase::Birth;
    std::deque<PositionBlock> stream;  // oldest first
    double lastTimestamp = 0.0;
    int extensionCount = 0;
    bool onGroundMode = false;
    bool landing = false;
    bool departing = false;
    int throttleIndex = 5;  // none sent yet
    int flapsIndex = 4;

    // Parking.
    std::string standId;
};

}  // namespace corv::live
