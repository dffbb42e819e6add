#include "sim/standin/StandInEvents.hpp"

#include "common/UpperCase.hpp"

#include <algorithm>
#include <cctype>
#include <utility>

namespace corv::sim::standin {

namespace {

// Axis events carry 0 to 16383 for 0 to 100 percent; negative values (reverse) come as the
// 32-bit pattern of a signed number.
double axisPercent(std::uint32_t data) {
    return static_cast<double>(static_cast<std::int32_t>(data)) * 100.0 / 16383.0;
}

void setLight(WorldObject& object, std::uint32_t bit, std::uint32_t data) {
    object.lights = data != 0 ? (object.lights | bit) : (object.lights & ~bit);
}

}  // namespace

bool applySimEvent(WorldObject& object, const std::string& simEventName, std::uint32_t data) {
    const std::string name = common::upperCase(simEventName);

    static const std::pair<const char*, std::uint32_t> lights[] = {
        {"NAV_LIGHTS_SET", light::nav},         {"BEACON_LIGHTS_SET", light::beacon},
        {"LANDING_LIGHTS_SET", light::landing}, {"TAXI_LIGHTS_SET", light::taxi},
        {"STROBES_SET", light::strobe},         {"LOGO_LIGHTS_SET", light::logo},
        {"CABIN_LIGHTS_SET", light::cabin},     {"PANEL_LIGHTS_SET", light::panel},
        {"WING_LIGHTS_SET", light::wing},       {"RECOGNITION_LIGHTS_SET", light::recognition},
    };
    for (const auto& [event, bit] : lights) {
        if (name == event) {
            setLight(object, bit, data);
            return true;
        }
    }
    if (name == "ALL_LIGHTS_TOGGLE") {
        object.lights = object.lights != 0 ? 0 : light::all;
    } else if (name == "GEAR_SET") {
        object.gearDown = data != 0;
    } else if (name == "FLAPS_SET") {
        object.flapsPercent = axisPercent(data);
    } else if (name == "SPOILERS_SET") {
        object.spoilersPercent = axisPercent(data);
    } else if (name == "THROTTLE_SET") {
        object.throttle1Percent = object.throttle2Percent = axisPercent(data);
    } else if (name == "ENGINE_AUTO_START") {
        object.enginesRunning = true;
    } else if (name == "ENGINE_AUTO_SHUTDOWN") {
        object.enginesRunning = false;
    } else if (name == "FREEZE_LATITUDE_LONGITUDE_SET") {
        object.frozenLatLon = data != 0;
    } else if (name == "FREEZE_ALTITUDE_SET") {
        object.frozenAltitude = data != 0;
    } else if (name == "FREEZE_ATTITUDE_SET") {
        object.frozenAttitude = data != 0;
    } else {
        return false;
    }
    return true;
}

}  // namespace corv::sim::standin
