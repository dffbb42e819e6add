#pragma once

namespace corv::liveries {

// The user error code of a reference data file without the structure the program needs.
inline constexpr int referenceDataErrorCode = 61;

}  // namespace corv::liveries
