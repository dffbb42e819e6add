#pragma once

#include "status/ControlStates.hpp"

// Command ids of the push buttons; the controls of parameters carry their parameter's id.
namespace corv::status::button {

inline constexpr ControlId tbloZip = 0x8024;
inline constexpr ControlId unblock = 0x803D;
inline constexpr ControlId callsignList = 0x803E;  // "cs->oid:"
inline constexpr ControlId block = 0x8040;
inline constexpr ControlId reRead = 0x8046;
inline constexpr ControlId now = 0x804F;
inline constexpr ControlId flushStatic = 0x8059;

}  // namespace corv::status::button
