#pragma once

#include <cstddef>

#include "common/CodeTable.hpp"

namespace corv::common {

// The longest registration (tail number) a livery or a traffic report may carry.
inline constexpr std::size_t maxRegistrationLength = 12;

// Who an aircraft is as far as livery matching cares: indexes into the airline and model code
// tables. A traffic report knows only the model; the live traffic completes the rest.
struct AircraftIdentity {
    common::CodeIndex airline = 0;
    common::CodeIndex operatorIndex = 0;
    common::CodeIndex model = 0;
    bool cargo = false;
    bool fromRegistration = false;
};

}  // namespace corv::common
