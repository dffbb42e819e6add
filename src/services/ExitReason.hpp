#pragma once

#include <cstdint>
#include <string_view>

namespace corv::services {

// Why a run ends; only the first reason of a run counts.
enum class ExitReason : std::int32_t {
    NotYetSet = 0,
    SimWasClosed = 1,
    NewFlight = 2,
    NewSettings = 3,
    UserClosedSim = 4,
    SimconnectError = 5,
    ReaderError = 6,
    SystemError = 7,
    NewVersion = 8,
};

// The text "Exiting: {}" logs. Throws std::out_of_range for a value outside the enumeration.
std::string_view exitReasonText(ExitReason reason);

// NEW SETTINGS, SIMCONNECT ERROR and READER ERROR start a new run; the others end the program.
bool restartsAfter(ExitReason reason);

}  // namespace corv::services
