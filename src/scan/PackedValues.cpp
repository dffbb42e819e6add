#include "scan/PackedValues.hpp"

#include <algorithm>
#include <cmath>

namespace corv::scan {

double packedLatitude(std::uint32_t raw) noexcept {
    return 90.0 - static_cast<double>(raw) * 180.0 / static_cast<double>(1U << 29);
}

double packedLongitude(std::uint32_t raw) noexcept {
    return static_cast<double>(raw) * 360.0 / (3.0 * static_cast<double>(1U << 28)) - 180.0;
}

bool isValidPosition(double latitude, double longitude) noexcept {
    const bool onGlobe =
        latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0;
    const bool atOrigin = std::fabs(latitude) <= 0.0001 && std::fabs(longitude) <= 0.0001;
    return onGlobe && !atOrigin;
}

std::optional<std::string> decodeIcaoIdent(std::uint32_t packed) {
    // 27 bits hold at most six base-38 digits, so the ten-digit limit cannot be reached.
    std::uint32_t rest = packed >> 5;
    std::string reversed;
    while (rest != 0) {
        const auto digit = rest % 38;
        rest /= 38;
        if (digit < 2) return std::nullopt;  // a blank or a "?"
        reversed.push_back(digit < 12 ? static_cast<char>('0' + (digit - 2))
                                      : static_cast<char>('A' + (digit - 12)));
    }
    if (reversed.empty()) return std::nullopt;
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

}  // namespace corv::scan
