#include "sim/standin/StandInEvents.hpp"

#include "common/UpperCase.hpp"

#include <string_view>

namespace corv::sim::standin {

namespace {

// Axis events carry 0 to 16383 for 0 to 100 percent; negative values (reverse) come as the
// 32-bit pattern of a signed number.
double axisPercent(std::uint32_t data) {
    return static_cast<double>(static_cast<std::int32_t>(data)) * 100.0 / 16383.0;
}

template <std::uint32_t bit>
void setLight(WorldObject& object, std::uint32_t data) {
    object.lights = data != 0 ? (object.lights | bit) : (object.lights & ~bit);
}

struct SimEvent {
    std::string_view name;  // upper case
    void (*apply)(WorldObject&, std::uint32_t);
};

const SimEvent simEvents[] = {
    {"NAV_LIGHTS_SET", setLight<light::nav>},
    {"BEACON_LIGHTS_SET", setLight<light::beacon>},
    {"LANDING_LIGHTS_SET", setLight<light::landing>},
    {"TAXI_LIGHTS_SET", setLight<light::taxi>},
    {"STROBES_SET", setLight<light::strobe>},
    {"LOGO_LIGHTS_SET", setLight<light::logo>},
    {"CABIN_LIGHTS_SET", setLight<light::cabin>},
    {"PANEL_LIGHTS_SET", setLight<light::panel>},
    {"WING_LIGHTS_SET", setLight<light::wing>},
    {"RECOGNITION_LIGHTS_SET", setLight<light::recognition>},
    {"ALL_LIGHTS_TOGGLE",
     [](WorldObject& o, std::uint32_t) { o.lights = o.lights != 0 ? 0 : light::all; }},
    {"GEAR_SET", [](WorldObject& o, std::uint32_t data) { o.gearDown = data != 0; }},
    {"FLAPS_SET", [](WorldObject& o, std::uint32_t data) { o.flapsPercent = axisPercent(data); }},
    {"SPOILERS_SET",
     [](WorldObject& o, std::uint32_t data) { o.spoilersPercent = axisPercent(data); }},
    {"THROTTLE_SET",
     [](WorldObject& o, std::uint32_t data) {
         o.throttle1Percent = o.throttle2Percent = axisPercent(data);
     }},
    {"ENGINE_AUTO_START", [](WorldObject& o, std::uint32_t) { o.enginesRunning = true; }},
    {"ENGINE_AUTO_SHUTDOWN", [](WorldObject& o, std::uint32_t) { o.enginesRunning = false; }},
    {"FREEZE_LATITUDE_LONGITUDE_SET",
     [](WorldObject& o, std::uint32_t data) { o.frozenLatLon = data != 0; }},
    {"FREEZE_ALTITUDE_SET",
     [](WorldObject& o, std::uint32_t data) { o.frozenAltitude = data != 0; }},
    {"FREEZE_ATTITUDE_SET",
     [](WorldObject& o, std::uint32_t data) { o.frozenAttitude = data != 0; }},
};

const SimEvent* findSimEvent(const std::string& simEventName) {
    const std::string name = common::upperCase(simEventName);
    for (const SimEvent& event : simEvents) {
        if (event.name == name) return &event;
    }
    return nullptr;
}

}  // namespace

bool isKnownSimEvent(const std::string& simEventName) {
    return findSimEvent(simEventName) != nullptr || simEventName.find('.') != std::string::npos;
}

bool applySimEvent(WorldObject& object, const std::string& simEventName, std::uint32_t data) {
    const SimEvent* event = findSimEvent(simEventName);
    if (event == nullptr) return false;
    event->apply(object, data);
    return true;
}

}  // namespace corv::sim::standin
