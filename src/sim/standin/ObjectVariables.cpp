#include "sim/standin/ObjectVariables.hpp"

#include "common/UpperCase.hpp"
#include "sim/standin/StandInCommon.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <numbers>

namespace corv::sim::standin {

namespace {

constexpr double feetPerMetre = 3.280839895;

bool isRadians(const std::string& unit) {
    const auto u = common::upperCase(unit);
    return u == "RADIANS" || u == "RADIAN";
}
bool isMetres(const std::string& unit) {
    const auto u = common::upperCase(unit);
    return u == "METERS" || u == "METER" || u == "METRES" || u == "METRE";
}

// Stored in degrees, read in the asked unit.
double fromDegrees(double degrees, const std::string& unit) {
    return isRadians(unit) ? degrees * std::numbers::pi / 180.0 : degrees;
}
double toDegrees(double value, const std::string& unit) {
    return isRadians(unit) ? value * 180.0 / std::numbers::pi : value;
}
// Stored in radians, read in the asked unit ("degrees" or "radians").
double fromRadians(double radians, const std::string& unit) {
    const auto u = common::upperCase(unit);
    return (u == "DEGREES" || u == "DEGREE") ? radians * 180.0 / std::numbers::pi : radians;
}
double toRadians(double value, const std::string& unit) {
    const auto u = common::upperCase(unit);
    return (u == "DEGREES" || u == "DEGREE") ? value * std::numbers::pi / 180.0 : value;
}
double fromFeet(double feet, const std::string& unit) {
    return isMetres(unit) ? feet / feetPerMetre : feet;
}
double toFeet(double value, const std::string& unit) {
    return isMetres(unit) ? value * feetPerMetre : value;
}
double fromFeetPerSecond(double fps, const std::string& unit) {
    return common::upperCase(unit) == "FEET PER MINUTE" ? fps * 60.0 : fps;
}
double toFeetPerSecond(double value, const std::string& unit) {
    return common::upperCase(unit) == "FEET PER MINUTE" ? value / 60.0 : value;
}

}  // namespace

std::optional<VariableValue> readVariable(const WorldObject& object, const std::string& name,
                                          const std::string& unit, const ReadContext& context) {
    const auto n = common::upperCase(name);
    if (n == "PLANE LATITUDE") return fromDegrees(object.latitude, unit);
    if (n == "PLANE LONGITUDE") return fromDegrees(object.longitude, unit);
    if (n == "PLANE PITCH DEGREES") return fromRadians(object.pitch, unit);
    if (n == "PLANE BANK DEGREES") return fromRadians(object.bank, unit);
    if (n == "PLANE HEADING DEGREES TRUE" || n == "PLANE HEADING DEGREES MAGNETIC") {
        return fromRadians(object.heading, unit);
    }
    if (n == "PLANE ALTITUDE" || n == "INDICATED ALTITUDE") {
        return fromFeet(object.altitudeFeet, unit);
    }
    if (n == "PLANE ALT ABOVE GROUND") {
        return fromFeet(altitudeAboveGround(object, context.groundFeet), unit);
    }
    if (n == "GROUND ALTITUDE") return fromFeet(context.groundFeet, unit);
    if (n == "GROUND VELOCITY") return object.groundSpeedKnots;
    if (n == "AIRSPEED TRUE") return object.trueAirspeedKnots;
    if (n == "VERTICAL SPEED") return fromFeetPerSecond(object.verticalSpeedFps, unit);
    if (n == "SIM ON GROUND") return isOnGround(object, context.groundFeet) ? 1.0 : 0.0;
    if (n == "LIGHT STATES" || n == "LIGHT ON STATES") return static_cast<double>(object.lights);
    if (n == "TITLE") return object.title;
    if (n == "ATC MODEL") return object.atcModel;
    if (n == "ATC ID") return object.tailNumber;
    if (n == "STATIC CG TO GROUND") return fromFeet(object.staticCgFeet, unit);
    if (n == "STATIC PITCH") return fromRadians(object.staticPitch, unit);
    if (n == "SPOILERS HANDLE POSITION") return object.spoilersPercent;
    if (n == "FLAPS HANDLE PERCENT") return object.flapsPercent;
    if (n == "GEAR HANDLE POSITION") return object.gearDown ? 1.0 : 0.0;
    if (n == "GENERAL ENG THROTTLE LEVER POSITION:1") return object.throttle1Percent;
    if (n == "GENERAL ENG THROTTLE LEVER POSITION:2") return object.throttle2Percent;
    if (n == "GENERAL ENG COMBUSTION:1" || n == "GENERAL ENG COMBUSTION:2") {
        return object.enginesRunning ? 1.0 : 0.0;
    }
    if (n == "ZULU TIME") {
        const auto parts = detail::utcParts(context.utc);
        return static_cast<double>(parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec);
    }
    if (n == "ZULU DAY OF YEAR")
        return static_cast<double>(detail::utcParts(context.utc).tm_yday + 1);
    if (n == "ZULU YEAR") return static_cast<double>(detail::utcParts(context.utc).tm_year + 1900);
    return std::nullopt;
}

bool writeVariable(WorldObject& object, const std::string& name, const std::string& unit,
                   double value) {
    const auto n = common::upperCase(name);
    if (n == "PLANE LATITUDE") {
        object.latitude = toDegrees(value, unit);
    } else if (n == "PLANE LONGITUDE") {
        object.longitude = toDegrees(value, unit);
    } else if (n == "PLANE PITCH DEGREES") {
        object.pitch = toRadians(value, unit);
    } else if (n == "PLANE BANK DEGREES") {
        object.bank = toRadians(value, unit);
    } else if (n == "PLANE HEADING DEGREES TRUE") {
        object.heading = toRadians(value, unit);
    } else if (n == "PLANE ALTITUDE") {
        object.altitudeFeet = toFeet(value, unit);
    } else if (n == "VERTICAL SPEED") {
        object.verticalSpeedFps = toFeetPerSecond(value, unit);
    } else if (n == "AIRSPEED TRUE") {
        // No wind in the stand-in world.
        object.trueAirspeedKnots = value;
        object.groundSpeedKnots = value;
    } else if (n == "GROUND VELOCITY") {
        object.groundSpeedKnots = value;
    } else if (n == "SPOILERS HANDLE POSITION") {
        object.spoilersPercent = value;
    } else if (n == "GENERAL ENG THROTTLE LEVER POSITION:1") {
        object.throttle1Percent = value;
    } else if (n == "GENERAL ENG THROTTLE LEVER POSITION:2") {
        object.throttle2Percent = value;
    } else if (n == "LIGHT STATES" || n == "LIGHT ON STATES") {
        object.lights = static_cast<std::uint32_t>(value) & light::all;
    } else {
        return false;
    }
    return true;
}

}  // namespace corv::sim::standin
