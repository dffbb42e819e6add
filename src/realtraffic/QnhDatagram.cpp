#include "realtraffic/QnhDatagram.hpp"

#include <algorithm>
#include <cmath>
#include <exception>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "realtraffic/DatagramFields.hpp"

namespace corv::realtraffic {

namespace {
constexpr double hectopascalPerHundredthInch = 0.33865307;
constexpr double lowestQnh = 900.0;
constexpr double highestQnh = 1100.0;

// Any value, however wild, ends up in the range; doubles keep huge integers from overflowing.
std::int32_t hectopascal(double value) {
    if (value > highestQnh) value = std::round(value * hectopascalPerHundredthInch);
    return static_cast<std::int32_t>(std::clamp(value, lowestQnh, highestQnh));
}
}  // namespace

QnhReading readQnhDatagram(std::string_view datagram) {
    try {
        const nlohmann::json weather = nlohmann::json::parse(datagram);
        const nlohmann::json* qnh = nullptr;
        if (weather.is_object()) {
            const auto found = weather.find("QNH");
            if (found != weather.end()) qnh = &*found;
        }
        if (qnh && qnh->is_number_integer()) {
            // Unsigned and signed 64-bit values alike, without overflow.
            const double value = qnh->is_number_unsigned()
                                     ? static_cast<double>(qnh->get<std::uint64_t>())
                                     : static_cast<double>(qnh->get<std::int64_t>());
            return {hectopascal(value), {}};
        }
        if (qnh && qnh->is_number_float()) return {hectopascal(std::round(qnh->get<double>())), {}};
        if (qnh && qnh->is_string()) {
            const std::string& text = qnh->get_ref<const std::string&>();
            const auto value = parseInteger(text);
            if (!value)
                return {std::nullopt,
                        fmt::format("QNH string parse error: {} in {}", text, datagram)};
            return {hectopascal(static_cast<double>(*value)), {}};
        }
        return {std::nullopt, fmt::format("no QNH {}", datagram)};
    } catch (const nlohmann::json::exception& error) {
        return {std::nullopt, fmt::format("Exception {}, in {}", error.what(), datagram)};
    }
}

}  // namespace corv::realtraffic
