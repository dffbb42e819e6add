#pragma once

#include <cstdint>
#include <string_view>

namespace corv::live {

// Where a live aircraft is with respect to the simulator.
enum class AcState : std::int32_t {
    Buffer,           // born, collecting points, not yet in the simulator
    Adding2Sim,       // creation requested, no active object yet
    Active,           // exists in the simulator and is moved every tick
    LiveryRespawn,    // its object goes so that it can come back in another livery
    RemovingFromSim,  // removal of its object requested
};

// What a live aircraft is doing.
enum class AcPhase : std::int32_t {
    PushingBack,
    PushedBack,
    Taxi,
    TakeOff,
    Flying,
    Parking,
    Parked,
    Birth,
};

// The names the log uses.
std::string_view stateText(AcState state);
std::string_view phaseText(AcPhase phase);

}  // namespace corv::live
