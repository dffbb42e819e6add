#include "sim/standin/ObjectVariables.hpp"

#include "common/UpperCase.hpp"
#include "sim/standin/StandInCommon.hpp"

#include <numbers>
#include <string_view>

namespace corv::sim::standin {

namespace {

constexpr double feetPerMetre = 3.280839895;
constexpr double knotsPerMetrePerSecond = 3600.0 / 1852.0;
constexpr double knotsPerFootPerSecond = knotsPerMetrePerSecond / feetPerMetre;

// Units convert only within their kind; bool, number and mask are all plain numbers.
enum class Kind { Angle, Length, Speed, Count, Percent, Time, Text };

struct Unit {
    std::string_view name;  // upper case
    Kind kind;
    double size;  // in the first unit of its kind
};

constexpr Unit units[] = {
    {"RADIANS", Kind::Angle, 1.0},
    {"RADIAN", Kind::Angle, 1.0},
    {"DEGREES", Kind::Angle, std::numbers::pi / 180.0},
    {"DEGREE", Kind::Angle, std::numbers::pi / 180.0},
    {"FEET", Kind::Length, 1.0},
    {"FOOT", Kind::Length, 1.0},
    {"FT", Kind::Length, 1.0},
    {"METERS", Kind::Length, feetPerMetre},
    {"METER", Kind::Length, feetPerMetre},
    {"METRES", Kind::Length, feetPerMetre},
    {"METRE", Kind::Length, feetPerMetre},
    {"M", Kind::Length, feetPerMetre},
    {"KNOTS", Kind::Speed, 1.0},
    {"KNOT", Kind::Speed, 1.0},
    {"KT", Kind::Speed, 1.0},
    {"KTS", Kind::Speed, 1.0},
    {"FEET PER SECOND", Kind::Speed, knotsPerFootPerSecond},
    {"FOOT PER SECOND", Kind::Speed, knotsPerFootPerSecond},
    {"FEET PER MINUTE", Kind::Speed, knotsPerFootPerSecond / 60.0},
    {"FOOT PER MINUTE", Kind::Speed, knotsPerFootPerSecond / 60.0},
    {"METERS PER SECOND", Kind::Speed, knotsPerMetrePerSecond},
    {"METER PER SECOND", Kind::Speed, knotsPerMetrePerSecond},
    {"NUMBER", Kind::Count, 1.0},
    {"NUMBERS", Kind::Count, 1.0},
    {"BOOL", Kind::Count, 1.0},
    {"BOOLEAN", Kind::Count, 1.0},
    {"MASK", Kind::Count, 1.0},
    {"FLAGS", Kind::Count, 1.0},
    {"ENUM", Kind::Count, 1.0},
    {"PERCENT", Kind::Percent, 1.0},
    {"PERCENT OVER 100", Kind::Percent, 100.0},
    {"SECONDS", Kind::Time, 1.0},
    {"SECOND", Kind::Time, 1.0},
    {"MINUTES", Kind::Time, 60.0},
    {"MINUTE", Kind::Time, 60.0},
    {"HOURS", Kind::Time, 3600.0},
    {"HOUR", Kind::Time, 3600.0},
};

using ReadNumber = double (*)(const WorldObject&, const ReadContext&);
using ReadText = std::string (*)(const WorldObject&);
using Write = void (*)(WorldObject&, double);

// A variable keeps its value in the object in one unit (nothing for a text) and converts.
struct Variable {
    std::string_view name;  // upper case
    std::string_view storedIn;
    ReadNumber number = nullptr;
    ReadText text = nullptr;
    Write write = nullptr;
};

double zuluTime(const WorldObject&, const ReadContext& context) {
    const auto parts = detail::utcParts(context.utc);
    return static_cast<double>(parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec);
}

const Variable variables[] = {
    {"PLANE LATITUDE", "DEGREES",
     [](const WorldObject& o, const ReadContext&) { return o.latitude; }, nullptr,
     [](WorldObject& o, double v) { o.latitude = v; }},
    {"PLANE LONGITUDE", "DEGREES",
     [](const WorldObject& o, const ReadContext&) { return o.longitude; }, nullptr,
     [](WorldObject& o, double v) { o.longitude = v; }},
    {"PLANE PITCH DEGREES", "RADIANS",
     [](const WorldObject& o, const ReadContext&) { return o.pitch; }, nullptr,
     [](WorldObject& o, double v) { o.pitch = v; }},
    {"PLANE BANK DEGREES", "RADIANS",
     [](const WorldObject& o, const ReadContext&) { return o.bank; }, nullptr,
     [](WorldObject& o, double v) { o.bank = v; }},
    {"PLANE HEADING DEGREES TRUE", "RADIANS",
     [](const WorldObject& o, const ReadContext&) { return o.heading; }, nullptr,
     [](WorldObject& o, double v) { o.heading = v; }},
    // No magnetic variation in the stand-in world.
    {"PLANE HEADING DEGREES MAGNETIC", "RADIANS",
     [](const WorldObject& o, const ReadContext&) { return o.heading; }},
    {"PLANE ALTITUDE", "FEET",
     [](const WorldObject& o, const ReadContext&) { return o.altitudeFeet; }, nullptr,
     [](WorldObject& o, double v) { o.altitudeFeet = v; }},
    {"INDICATED ALTITUDE", "FEET",
     [](const WorldObject& o, const ReadContext&) { return o.altitudeFeet; }},
    {"PLANE ALT ABOVE GROUND", "FEET",
     [](const WorldObject& o, const ReadContext& c) {
         return altitudeAboveGround(o, c.groundFeet);
     }},
    {"GROUND ALTITUDE", "FEET",
     [](const WorldObject&, const ReadContext& c) { return c.groundFeet; }},
    {"GROUND VELOCITY", "KNOTS",
     [](const WorldObject& o, const ReadContext&) { return o.groundSpeedKnots; }, nullptr,
     [](WorldObject& o, double v) { o.groundSpeedKnots = v; }},
    // No wind in the stand-in world: the air moves the aircraft over the ground alike.
    {"AIRSPEED TRUE", "KNOTS",
     [](const WorldObject& o, const ReadContext&) { return o.trueAirspeedKnots; }, nullptr,
     [](WorldObject& o, double v) { o.trueAirspeedKnots = o.groundSpeedKnots = v; }},
    {"VERTICAL SPEED", "FEET PER SECOND",
     [](const WorldObject& o, const ReadContext&) { return o.verticalSpeedFps; }, nullptr,
     [](WorldObject& o, double v) { o.verticalSpeedFps = v; }},
    {"SIM ON GROUND", "BOOL",
     [](const WorldObject& o, const ReadContext& c) {
         return isOnGround(o, c.groundFeet) ? 1.0 : 0.0;
     }},
    {"LIGHT STATES", "MASK",
     [](const WorldObject& o, const ReadContext&) { return static_cast<double>(o.lights); },
     nullptr,
     [](WorldObject& o, double v) { o.lights = static_cast<std::uint32_t>(v) & light::all; }},
    {"LIGHT ON STATES", "MASK",
     [](const WorldObject& o, const ReadContext&) { return static_cast<double>(o.lights); },
     nullptr,
     [](WorldObject& o, double v) { o.lights = static_cast<std::uint32_t>(v) & light::all; }},
    {"TITLE", "", nullptr, [](const WorldObject& o) { return o.title; }},
    {"ATC MODEL", "", nullptr, [](const WorldObject& o) { return o.atcModel; }},
    {"ATC ID", "", nullptr, [](const WorldObject& o) { return o.tailNumber; }},
    {"STATIC CG TO GROUND", "FEET",
     [](const WorldObject& o, const ReadContext&) { return o.staticCgFeet; }},
    {"STATIC PITCH", "RADIANS",
     [](const WorldObject& o, const ReadContext&) { return o.staticPitch; }},
    {"SPOILERS HANDLE POSITION", "PERCENT",
     [](const WorldObject& o, const ReadContext&) { return o.spoilersPercent; }, nullptr,
     [](WorldObject& o, double v) { o.spoilersPercent = v; }},
    {"FLAPS HANDLE PERCENT", "PERCENT",
     [](const WorldObject& o, const ReadContext&) { return o.flapsPercent; }},
    {"GEAR HANDLE POSITION", "BOOL",
     [](const WorldObject& o, const ReadContext&) { return o.gearDown ? 1.0 : 0.0; }},
    {"GENERAL ENG THROTTLE LEVER POSITION:1", "PERCENT",
     [](const WorldObject& o, const ReadContext&) { return o.throttle1Percent; }, nullptr,
     [](WorldObject& o, double v) { o.throttle1Percent = v; }},
    {"GENERAL ENG THROTTLE LEVER POSITION:2", "PERCENT",
     [](const WorldObject& o, const ReadContext&) { return o.throttle2Percent; }, nullptr,
     [](WorldObject& o, double v) { o.throttle2Percent = v; }},
    {"GENERAL ENG COMBUSTION:1", "BOOL",
     [](const WorldObject& o, const ReadContext&) { return o.enginesRunning ? 1.0 : 0.0; }},
    {"GENERAL ENG COMBUSTION:2", "BOOL",
     [](const WorldObject& o, const ReadContext&) { return o.enginesRunning ? 1.0 : 0.0; }},
    {"ZULU TIME", "SECONDS", zuluTime},
    {"ZULU DAY OF YEAR", "NUMBER",
     [](const WorldObject&, const ReadContext& c) {
         return static_cast<double>(detail::utcParts(c.utc).tm_yday + 1);
     }},
    {"ZULU YEAR", "NUMBER",
     [](const WorldObject&, const ReadContext& c) {
         return static_cast<double>(detail::utcParts(c.utc).tm_year + 1900);
     }},
};

const Unit* findUnit(std::string_view upperName) {
    for (const Unit& unit : units) {
        if (unit.name == upperName) return &unit;
    }
    return nullptr;
}

const Variable* findVariable(const std::string& name) {
    const std::string upper = common::upperCase(name);
    for (const Variable& variable : variables) {
        if (variable.name == upper) return &variable;
    }
    return nullptr;
}

// The variable and the unit asked for it, both known and of one kind; the unit is null for a
// text.
struct Resolved {
    const Variable* variable = nullptr;
    const Unit* unit = nullptr;
    VariableCheck check = VariableCheck::UnknownName;
};

Resolved resolve(const std::string& name, const std::string& unit) {
    const Variable* variable = findVariable(name);
    if (variable == nullptr) return {};
    if (variable->text != nullptr) {
        return {variable, nullptr,
                unit.empty() ? VariableCheck::Known : VariableCheck::UnknownUnit};
    }
    const Unit* asked = findUnit(common::upperCase(unit));
    const Unit* stored = findUnit(variable->storedIn);
    if (asked == nullptr || asked->kind != stored->kind) {
        return {variable, nullptr, VariableCheck::UnknownUnit};
    }
    return {variable, asked, VariableCheck::Known};
}

}  // namespace

VariableCheck checkVariable(const std::string& name, const std::string& unit) {
    return resolve(name, unit).check;
}

std::optional<VariableValue> readVariable(const WorldObject& object, const std::string& name,
                                          const std::string& unit, const ReadContext& context) {
    const Resolved found = resolve(name, unit);
    if (found.check != VariableCheck::Known) return std::nullopt;
    if (found.variable->text != nullptr) return found.variable->text(object);
    const double stored = found.variable->number(object, context);
    // The ratio first: a value asked in its own unit comes back exactly.
    return stored * (findUnit(found.variable->storedIn)->size / found.unit->size);
}

bool writeVariable(WorldObject& object, const std::string& name, const std::string& unit,
                   double value) {
    const Resolved found = resolve(name, unit);
    if (found.check != VariableCheck::Known || found.variable->write == nullptr) return false;
    found.variable->write(object,
                          value * (found.unit->size / findUnit(found.variable->storedIn)->size));
    return true;
}

}  // namespace corv::sim::standin
