#include "realtraffic/PositionLines.hpp"

#include <cmath>
#include <numbers>

#include <fmt/format.h>

namespace corv::realtraffic {

namespace {
constexpr double noPosition = 0.0001;
constexpr double degreesToRadians = std::numbers::pi / 180.0;
}  // namespace

bool hasPosition(double latitude, double longitude) {
    return std::fabs(latitude) > noPosition || std::fabs(longitude) > noPosition;
}

std::string qs121Line(const PositionSample& s) {
    return fmt::format("Qs121={:.0f};{:.0f};{:.6f};{:.0f};{:.0f};{:.6f};{:.6f}\r\n",
                       s.pitch * -100000.0, s.bank * 100000.0, s.heading,
                       s.indicatedAltitude * 1000.0, s.groundSpeed * 1000.0,
                       s.latitude * degreesToRadians, s.longitude * degreesToRadians);
}

std::string qs123Line(std::int64_t unixSeconds) {
    return fmt::format("Qs123={}\r\n", unixSeconds * 1000);
}

}  // namespace corv::realtraffic
