#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corv::scan {

// Coordinates as the scenery compiler packs them into unsigned 32-bit values.
double packedLatitude(std::uint32_t raw) noexcept;
double packedLongitude(std::uint32_t raw) noexcept;

// Inside the globe and not at 0,0, which scenery uses for "no position".
bool isValidPosition(double latitude, double longitude) noexcept;

// The ident characters of a packed airport ident; nothing when it holds a blank or a "?"
// (so 0 decodes to nothing).
std::optional<std::string> decodeIcaoIdent(std::uint32_t packed);

}  // namespace corv::scan
