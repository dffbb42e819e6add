#include "live/CallsignAirline.hpp"

#include "common/UpperCase.hpp"

namespace corv::live {

namespace {
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
}  // namespace

std::optional<std::string> airlineDesignatorOf(std::string_view callsign) {
    if (callsign.size() <= 3 || !isLetter(callsign[0]) || !isLetter(callsign[1]) ||
        !isLetter(callsign[2]) || callsign[3] < '0' || callsign[3] > '9') {
        return std::nullopt;
    }
    return common::upperCase(std::string(callsign.substr(0, 3)));
}

}  // namespace corv::live
