#include "realtraffic/TrafficLine.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <numbers>
#include <string>

#include <fmt/format.h>

#include "common/AircraftIdentity.hpp"
#include "common/GreatCircle.hpp"
#include "realtraffic/AltitudeCorrection.hpp"
#include "realtraffic/DatagramFields.hpp"
#include "services/Log.hpp"

namespace corv::realtraffic {

namespace {
constexpr std::size_t minimumFieldCount = 29;
constexpr double degToRad = std::numbers::pi / 180.0;
constexpr std::size_t maxTypeLength = 4;
constexpr std::uint32_t highestIgnoredHexid = 10000;
constexpr double parkAirportReachNm = 5.0;

// Field numbers of the traffic record.
enum Field : std::size_t {
    hexidField = 1,
    latitudeField = 2,
    longitudeField = 3,
    altitudeField = 4,
    verticalSpeedField = 5,
    trackField = 7,
    groundSpeedField = 8,
    callsignField = 9,
    typeField = 10,
    registrationField = 11,
    originField = 12,
    destinationField = 13,
    timestampField = 14,
    sourceField = 17,
    trueAirspeedField = 20,
    rollField = 23,
    trueHeadingField = 25,
    categoryField = 28,
};

// Emitter categories of balloons, gliders, parachutists and ground vehicles.
constexpr std::array<std::string_view, 5> droppedCategories{"B1", "B2", "B4", "C1", "C2"};
constexpr std::array<std::string_view, 10> droppedTypes{"BALL", "EMER", "GLID", "GRND", "GND",
                                                        "PARA", "SERV", "SHIP", "TWR",  "VENT"};
// Transmitters that test or mark things on the ground rather than fly.
constexpr std::array<std::string_view, 6> testCallsigns{"ERARMTR0", "ERARMTR1", "AIRPORT1",
                                                        "00000000", "TR852",    "TEST"};

template <std::size_t N>
bool isOneOf(std::string_view text, const std::array<std::string_view, N>& list) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

[[noreturn]] void fail(std::string text) {
    throw TrafficLineError(std::move(text));
}

double number(std::string_view name, std::string_view text) {
    const auto value = parseNumber(text);
    if (!value) fail(fmt::format("{}:{}", name, text));
    return *value;
}

bool isAbsent(std::string_view text) {
    return text.empty() || text == "null";
}

// An empty code is as absent as "null": real broadcasts leave unknown airports empty.
common::FixedCode<3> airportCode(std::string_view text) {
    return isAbsent(text) ? common::FixedCode<3>() : common::FixedCode<3>(text);
}

std::optional<double> trueHeading(std::string_view text) {
    const double degrees = number("trueheading", text);
    // 0 is north, kept apart from "unknown".
    if (degrees == 0.0) return 2.0 * std::numbers::pi;
    if (degrees > 360.0) fail(fmt::format("trueheading: {:.2f}", degrees));
    if (degrees < 0.0) return std::nullopt;
    return degrees * degToRad;
}
}  // namespace

std::variant<TrafficReport, Drop> parseTrafficLine(std::string_view datagram,
                                                   const TrafficContext& context,
                                                   TrafficLineState& state,
                                                   common::ModelCodeTable& models) {
    if (datagram.find(" VEH") != std::string_view::npos) return Drop::GroundVehicle;
    std::vector<std::string_view>& field = state.fields;
    splitFields(datagram, field);
    if (field.size() < minimumFieldCount)
        fail(fmt::format("invalid datagram: {} fields", field.size()));

    TrafficReport report;
    report.timestamp = number("timestamp", field[timestampField]);
    state.lastTimestamp = report.timestamp;

    report.latitude = number("lat", field[latitudeField]);
    report.longitude = number("lon", field[longitudeField]);
    const common::GeoPoint position{report.latitude, report.longitude};
    if (report.latitude < -90.0 || report.latitude > 90.0 || report.longitude < -180.0 ||
        report.longitude > 180.0 ||
        (std::abs(report.latitude) <= 0.0001 && std::abs(report.longitude) <= 0.0001)) {
        fail(fmt::format("invalid lalo: {:.6f},{:.6f}", report.latitude, report.longitude));
    }
    // Written so that a distance that is not a number (antipodes) is out of range too.
    if (!(common::distanceNm(context.inputs.reference, position) <= context.rangeNm))
        return Drop::OutOfRange;

    const std::string_view registration = trimBlanks(field[registrationField]);
    if (registration.size() > common::maxRegistrationLength) return Drop::LongRegistration;
    if (registration != "null") report.registration = registration;

    const std::string_view callsign = trimBlanks(field[callsignField]);
    state.callsigns.offer(callsign);

    const std::string_view type = trimBlanks(field[typeField]);
    if (isAbsent(type)) return Drop::NoType;
    if (isOneOf(trimBlanks(field[categoryField]), droppedCategories)) return Drop::Category;
    if (type.size() > maxTypeLength || isOneOf(type, droppedTypes)) return Drop::TypeList;
    report.identity.model = models.intern(type);

    if (trimBlanks(field[sourceField]) == "adsb_icao") {
        report.trueHeading = trueHeading(field[trueHeadingField]);
        report.headingKnown = report.trueHeading.has_value();
    }

    const auto hexid = parseLeadingDigits(field[hexidField]);
    if (!hexid) fail(fmt::format("hexid incorrect{}", field[hexidField]));
    if (*hexid <= highestIgnoredHexid) return Drop::SmallHexid;
    report.hexid = *hexid;

    report.groundSpeed = number("gs", field[groundSpeedField]);
    const auto reported = parseNumber(field[altitudeField]);
    if (!reported)
        fail(fmt::format("altitude {} incorrect, from: {}", field[altitudeField], datagram));

    const auto altitude = correctedAltitude(*reported, report.groundSpeed, context);
    if (!altitude) return Drop::AirborneOnly;
    report.altitude = *altitude;
    report.airborne = report.altitude > 0.0;

    if (callsign.find('@') == std::string_view::npos && callsign != "null") {
        if (isOneOf(callsign, testCallsigns)) return Drop::TestCallsign;
        report.callsign = callsign;
    }
    if (report.registration.empty() && report.callsign.empty()) return Drop::NoIdentity;

    if (!report.airborne) {
        const auto& park = context.inputs.parkAirport;
        if (!park || !(common::distanceNm(park->position, position) <= parkAirportReachNm))
            return Drop::GroundAwayFromPark;
    }

    if (!field[trackField].empty()) {
        const auto track = parseNumber(field[trackField]);
        if (!track) fail(fmt::format("track incorrect {}", field[trackField]));
        report.track = *track;
    }
    if (report.track == 0.0 && report.trueHeading) report.track = *report.trueHeading / degToRad;

    report.verticalSpeed = number("vs", field[verticalSpeedField]);
    report.origin = airportCode(trimBlanks(field[originField]));
    report.destination = airportCode(trimBlanks(field[destinationField]));

    if (report.airborne) {
        const double roll = number("roll", field[rollField]);
        if (roll != -1.0 && roll != 0.0) report.bank = -roll * degToRad;
    }

    const auto trueAirspeed = parseNumber(field[trueAirspeedField]);
    if (!trueAirspeed) fail(fmt::format("TAS incorrect{}", field[trueAirspeedField]));
    report.trueAirspeed =
        *trueAirspeed == -1.0 ? estimatedTrueAirspeed(report.altitude) : *trueAirspeed;
    return report;
}

LineFate processLineSub(std::string_view datagram, const TrafficContext& context,
                        TrafficLineState& state, common::ModelCodeTable& models,
                        TrafficQueue& queue) {
    try {
        auto result = parseTrafficLine(datagram, context, state, models);
        if (auto* report = std::get_if<TrafficReport>(&result))
            return queue.offer(std::move(*report)) ? LineFate::Queued : LineFate::NotAccepting;
        return LineFate::Dropped;
    } catch (const std::exception& error) {
        services::log("exception in processLineSub: {}", error.what());
        return LineFate::Faulty;
    }
}

}  // namespace corv::realtraffic
