#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace corv::scan {

// Coordinates as the scenery compiler packs them into unsigned 32-bit values. Inline: a scan
// unpacks two of them for every parking spot.
inline double packedLatitude(std::uint32_t raw) noexcept {
    return 90.0 - static_cast<double>(raw) * 180.0 / static_cast<double>(1U << 29);
}

inline double packedLongitude(std::uint32_t raw) noexcept {
    return static_cast<double>(raw) * 360.0 / (3.0 * static_cast<double>(1U << 28)) - 180.0;
}

// Inside the globe and not at 0,0, which scenery uses for "no position".
inline bool isValidPosition(double latitude, double longitude) noexcept {
    const bool onGlobe =
        latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0;
    const bool atOrigin = std::fabs(latitude) <= 0.0001 && std::fabs(longitude) <= 0.0001;
    return onGlobe && !atOrigin;
}

// The ident characters of a packed airport ident; nothing when it holds a blank or a "?"
// (so 0 decodes to nothing).
std::optional<std::string> decodeIcaoIdent(std::uint32_t packed);

}  // namespace corv::scan
