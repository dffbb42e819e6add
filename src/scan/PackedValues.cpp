#include "scan/PackedValues.hpp"

#include <algorithm>

namespace corv::scan {

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
