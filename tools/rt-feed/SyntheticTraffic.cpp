#include "SyntheticTraffic.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include <fmt/format.h>

#include "common/GreatCircle.hpp"

namespace corv::rtfeed {

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double degToRad = pi / 180.0;
constexpr double feetPerNmOnThreeDegrees = 318.0;
constexpr double finalLengthNm = 14.0;
constexpr double feetPerNm = 6076.12;
constexpr double standClearanceNm = 45.0 / 1852.0;  // the taxi-in point, the pushback's end
constexpr double userStandNm = 80.0 / 1852.0;       // stands this close to the user stay free
// The feed's first arrival appears this long before its touchdown, so that someone watching
// sees a landing, a taxi and a parking within minutes of starting.
constexpr double shortFinalSeconds = 75.0;

struct Operator {
    const char* designator;
    const char* registrationPrefix;
    const char* types[3];
};

// Real airline designators with types they fly.
constexpr std::array<Operator, 10> operators{{
    {"KLM", "PH-", {"B738", "B77W", "B789"}},
    {"DLH", "D-A", {"A320", "A20N", "A359"}},
    {"BAW", "G-E", {"A320", "A21N", "B772"}},
    {"AFR", "F-H", {"A320", "A359", "B77W"}},
    {"EZY", "G-U", {"A319", "A320", "A20N"}},
    {"RYR", "EI-", {"B738", "B38M", "B738"}},
    {"SAS", "SE-", {"A20N", "A320", "CRJ9"}},
    {"UAE", "A6-", {"B77W", "A388", "B77W"}},
    {"KLC", "PH-", {"E190", "E75L", "E195"}},
    {"FDX", "N", {"B763", "MD11", "B77L"}},
}};

// Registration prefixes of the airlines the stand files name that the operators above lack.
struct AirlinePrefix {
    const char* designator;
    const char* prefix;
};
constexpr std::array<AirlinePrefix, 28> airlinePrefixes{{
    {"SWR", "HB-J"}, {"EDW", "HB-J"}, {"EZS", "HB-J"}, {"CLX", "LX-"}, {"EJU", "OE-I"},
    {"AUA", "OE-L"}, {"TRA", "PH-H"}, {"VLG", "EC-"},  {"IBE", "EC-"}, {"THY", "TC-"},
    {"TAP", "CS-T"}, {"EIN", "EI-"},  {"ACA", "C-F"},  {"QTR", "A7-"}, {"ETD", "A6-"},
    {"SIA", "9V-"},  {"CPA", "B-"},   {"CAL", "B-"},   {"CSN", "B-"},  {"WZZ", "HA-L"},
    {"AEE", "SX-D"}, {"TOM", "G-T"},  {"ICE", "TF-"},  {"KQA", "5Y-"}, {"ETH", "ET-"},
    {"MAS", "9M-"},  {"TVS", "OK-"},  {"SCX", "N"},
}};

constexpr std::array<const char*, 12> cities{"LHR", "CDG", "FRA", "MAD", "FCO", "CPH",
                                             "DXB", "JFK", "BCN", "ZRH", "VIE", "OSL"};

// Aircraft based at the airport that fly local patterns around it all the time: an airliner in
// a special livery on a wide circuit, a light aircraft in the circuit, a business jet and a
// helicopter on their own circles.
struct BasedAircraft {
    const char* callsign;
    const char* type;
    const char* registration;
    const char* category;
    double radiusNm;
    double heightFt;  // above the airport
    double speedKnots;
};
constexpr std::array<BasedAircraft, 4> basedAircraft{{
    {"BAW4PJ", "A319", "G-EUPJ", "A3", 9.0, 5000.0, 230.0},
    {"PHVCA", "C172", "PH-VCA", "A1", 2.0, 1000.0, 90.0},
    {"NJE715", "C68A", "CS-PHE", "A2", 6.0, 3000.0, 200.0},
    {"DHBHA", "EC35", "D-HBHA", "A7", 3.0, 1500.0, 110.0},
}};
constexpr std::uint32_t firstBasedHexid = 3900000;

double wrapDegrees(double degrees) {
    return std::fmod(degrees + 720.0, 360.0);
}

// A prefix filled up with letters to six characters, or an American N-number.
std::string registration(const std::string& prefix, int serial) {
    if (prefix == "N")
        return fmt::format("N{}{}", 100 + serial % 900, static_cast<char>('A' + serial % 26));
    std::string letters = fmt::format("{}{}{}", static_cast<char>('A' + serial / 676 % 26),
                                      static_cast<char>('A' + serial / 26 % 26),
                                      static_cast<char>('A' + serial % 26));
    const std::size_t wanted = prefix.size() < 6 ? 6 - prefix.size() : 1;
    return prefix + letters.substr(letters.size() - std::min(wanted, letters.size()));
}

// How long from one point to another at a speed changing evenly from v0 to v1 knots.
double legSeconds(const common::GeoPoint& from, const common::GeoPoint& to, double v0, double v1) {
    return common::distanceNm(from, to) * 2.0 / (v0 + v1) * 3600.0;
}

std::string prefixOf(const std::string& designator) {
    for (const Operator& op : operators)
        if (designator == op.designator) return op.registrationPrefix;
    for (const AirlinePrefix& airline : airlinePrefixes)
        if (designator == airline.designator) return airline.prefix;
    return "N";
}

std::string category(const std::string& type) {
    static const std::array<const char*, 8> heavy{"B77W", "B789", "A359", "B772",
                                                  "A388", "B763", "MD11", "B77L"};
    return std::find(heavy.begin(), heavy.end(), type) != heavy.end() ? "A5" : "A3";
}
}  // namespace

SyntheticTraffic::SyntheticTraffic(double airportLatitude, double airportLongitude,
                                   double airportElevation, unsigned seed,
                                   std::optional<AirportLayout> layout)
    : latitude_(airportLatitude),
      longitude_(airportLongitude),
      elevation_(airportElevation),
      random_(seed) {
    runwayHeading_ = std::uniform_int_distribution<int>(0, 35)(random_) * 10.0;
    if (layout && !layout->runways.empty() && !layout->stands.empty()) {
        layout_ = std::move(layout);
        const std::vector<Runway>& runways = layout_->runways;
        landingRunway_ = std::uniform_int_distribution<std::size_t>(0, runways.size() - 1)(random_);
        // Departures use another runway into the same wind when there is one.
        departureRunway_ = landingRunway_;
        double best = 360.0;
        for (std::size_t i = 0; i < runways.size(); ++i) {
            const double off = std::fabs(
                std::remainder(runways[i].heading - runways[landingRunway_].heading, 360.0));
            const bool sameRunway = i == landingRunway_;
            if (!sameRunway && off < 60.0 && off < best) {
                best = off;
                departureRunway_ = i;
            }
        }
    }
    for (int i = 0; i < 4; ++i)
        flights_.push_back(newFlight(Role::Overflight, 0.0));
    for (int i = 0; i < 2; ++i)
        flights_.push_back(newFlight(Role::Taxi, 0.0));
    // Made without a random draw, so the rest of the traffic stays what the seed makes it.
    for (std::size_t i = 0; i < basedAircraft.size(); ++i) {
        const BasedAircraft& based = basedAircraft[i];
        Flight flight{Role::Local,
                      0.0,
                      std::numeric_limits<double>::infinity(),
                      {},
                      90.0 * static_cast<double>(i),
                      based.radiusNm,
                      elevation_ + based.heightFt,
                      {},
                      -1};
        TrafficState& id = flight.identity;
        id.hexid = firstBasedHexid + static_cast<std::uint32_t>(i);
        id.callsign = based.callsign;
        id.type = based.type;
        id.registration = based.registration;
        id.category = based.category;
        id.trueAirspeed = based.speedKnots;
        flights_.push_back(std::move(flight));
    }
}

SyntheticTraffic::Flight SyntheticTraffic::newFlight(Role role, double seconds) {
    const Operator& op =
        operators[std::uniform_int_distribution<std::size_t>(0, operators.size() - 1)(random_)];
    std::uniform_int_distribution<int> pick(0, 2);
    Flight flight{role, seconds, 0.0, {}, 0.0, 0.0, 0.0, {}, -1};
    TrafficState& id = flight.identity;
    id.hexid = nextHexid_++;
    id.type = op.types[pick(random_)];
    id.callsign =
        fmt::format("{}{}", op.designator, std::uniform_int_distribution<int>(100, 9899)(random_));
    const int serial = std::uniform_int_distribution<int>(0, 17575)(random_);
    id.registration = registration(op.registrationPrefix, serial);
    id.category = category(id.type);
    const std::string city =
        cities[std::uniform_int_distribution<std::size_t>(0, cities.size() - 1)(random_)];
    id.providerPrefix = std::uniform_int_distribution<int>(0, 4)(random_) == 0;
    switch (role) {
        case Role::Arrival:
            id.origin = city;
            flight.duration =
                finalLengthNm / 150.0 * 3600.0 + 240.0;  // final, roll-out and taxi in
            if (layout_) routeArrival(flight, !arrivalRouted_);
            arrivalRouted_ = arrivalRouted_ || layout_.has_value();
            break;
        case Role::Departure:
            id.destination = city;
            flight.duration = 420.0;
            if (layout_) routeDeparture(flight);
            break;
        case Role::Overflight:
            id.origin = city;
            id.destination =
                cities[(std::find(cities.begin(), cities.end(), city) - cities.begin() + 5) %
                       cities.size()];
            flight.heading = std::uniform_real_distribution<double>(0.0, 360.0)(random_);
            flight.offsetNm = std::uniform_real_distribution<double>(-25.0, 25.0)(random_);
            flight.altitude = std::uniform_int_distribution<int>(25, 38)(random_) * 1000.0;
            // Start some on their way, so the sky is not empty at first.
            flight.start = seconds - std::uniform_real_distribution<double>(0.0, 400.0)(random_);
            flight.duration = 800.0;
            id.trueAirspeed = 460.0;
            break;
        case Role::Taxi:
            flight.heading = std::uniform_real_distribution<double>(0.0, 360.0)(random_);
            flight.duration = 300.0;
            id.destination = city;
            break;
        case Role::Local:  // based aircraft are made with the traffic, never drawn
            break;
    }
    return flight;
}

void SyntheticTraffic::spawnDue(double seconds) {
    if (seconds >= nextArrival_) {
        flights_.push_back(newFlight(Role::Arrival, seconds));
        nextArrival_ = seconds + std::uniform_real_distribution<double>(60.0, 120.0)(random_);
    }
    if (seconds >= nextDeparture_) {
        flights_.push_back(newFlight(Role::Departure, seconds));
        nextDeparture_ = seconds + std::uniform_real_distribution<double>(90.0, 150.0)(random_);
    }
    std::vector<Flight> replacements;
    for (const Flight& flight : flights_) {
        if (seconds - flight.start > flight.duration &&
            (flight.role == Role::Overflight || flight.role == Role::Taxi)) {
            replacements.push_back(newFlight(flight.role, seconds));
            replacements.back().start = seconds;
        }
    }
    std::erase_if(flights_, [seconds](const Flight& f) { return seconds - f.start > f.duration; });
    flights_.insert(flights_.end(), replacements.begin(), replacements.end());
}

// A stand no other synthetic flight uses, away from the user's; when every one is in use, one
// away from the user's all the same. A random one, or the one nearest to a place.
int SyntheticTraffic::freeStand(const std::optional<common::GeoPoint>& nearestTo) {
    const std::vector<Stand>& stands = layout_->stands;
    const common::GeoPoint user{latitude_, longitude_};
    std::vector<int> free;
    std::vector<int> awayFromUser;
    for (std::size_t i = 0; i < stands.size(); ++i) {
        const int index = static_cast<int>(i);
        if (common::distanceNm(user, stands[i].position) <= userStandNm) continue;
        awayFromUser.push_back(index);
        const bool taken = std::any_of(flights_.begin(), flights_.end(),
                                       [index](const Flight& f) { return f.stand == index; });
        if (!taken) free.push_back(index);
    }
    const std::vector<int>& choice = !free.empty() ? free : awayFromUser;
    if (choice.empty())
        return std::uniform_int_distribution<int>(0, static_cast<int>(stands.size()) - 1)(random_);
    if (nearestTo) {
        return *std::min_element(choice.begin(), choice.end(), [&](int a, int b) {
            return common::distanceNm(*nearestTo, stands[static_cast<std::size_t>(a)].position) <
                   common::distanceNm(*nearestTo, stands[static_cast<std::size_t>(b)].position);
        });
    }
    return choice[std::uniform_int_distribution<std::size_t>(0, choice.size() - 1)(random_)];
}

// The airline, type and callsign of one of the flights the stand's file says park there.
void SyntheticTraffic::takeStandUse(Flight& flight, bool arriving) {
    const std::vector<StandUse>& uses =
        layout_->stands[static_cast<std::size_t>(flight.stand)].uses;
    if (uses.empty()) return;
    const StandUse& use =
        uses[std::uniform_int_distribution<std::size_t>(0, uses.size() - 1)(random_)];
    TrafficState& id = flight.identity;
    id.type = use.type;
    id.category = category(use.type);
    const std::size_t colon = use.callsigns.find(':');
    std::string callsign =
        arriving ? use.callsigns.substr(0, colon)
                 : (colon == std::string::npos ? std::string() : use.callsigns.substr(colon + 1));
    if (callsign.size() < 4 || callsign.size() > 8 || callsign.rfind(use.airline, 0) != 0)
        callsign = fmt::format("{}{}", use.airline,
                               std::uniform_int_distribution<int>(100, 9899)(random_));
    id.callsign = callsign;
    id.registration =
        registration(prefixOf(use.airline), std::uniform_int_distribution<int>(0, 17575)(random_));
}

// Final along the runway's heading on a 3 degree path to its threshold, roll-out, a turn off to
// the point in front of a stand, onto the stand and a wait there. One already on short final
// taxis to the free stand nearest to where it leaves the runway.
void SyntheticTraffic::routeArrival(Flight& flight, bool onShortFinal) {
    const Runway& runway = layout_->runways[landingRunway_];
    const double heading = runway.heading * degToRad;
    const double elevation = runway.elevation;
    const common::GeoPoint finalStart =
        common::destinationPoint(runway.threshold, heading + pi, finalLengthNm);
    // Slow to taxi speed within half the runway left, at most in 1.2 nm.
    const double rollNm = std::min(1.2, 0.55 * (runway.lengthFt - runway.displacedFt) / feetPerNm);
    const common::GeoPoint exit = common::destinationPoint(runway.threshold, heading, rollNm);
    flight.stand = onShortFinal ? freeStand(exit) : freeStand();
    takeStandUse(flight, true);
    const Stand& stand = layout_->stands[static_cast<std::size_t>(flight.stand)];
    const common::GeoPoint inFront =
        common::destinationPoint(stand.position, stand.heading * degToRad + pi, standClearanceNm);
    flight.legs = {
        {finalStart, runway.threshold, finalLengthNm / 150.0 * 3600.0, 150.0, 150.0,
         elevation + finalLengthNm * feetPerNmOnThreeDegrees, elevation, runway.heading, false},
        {runway.threshold, exit, legSeconds(runway.threshold, exit, 140.0, 20.0), 140.0, 20.0,
         elevation, elevation, runway.heading, true},
        {exit, inFront, legSeconds(exit, inFront, 15.0, 15.0), 15.0, 15.0, elevation, elevation,
         std::nullopt, true},
        {inFront, stand.position, legSeconds(inFront, stand.position, 6.0, 0.0), 6.0, 0.0,
         elevation, elevation, stand.heading, true},
        {stand.position, stand.position, 120.0, 0.0, 0.0, elevation, elevation, stand.heading,
         true},
    };
    flight.duration = 0.0;
    for (const Leg& leg : flight.legs)
        flight.duration += leg.seconds;
    if (onShortFinal) flight.start -= flight.legs.front().seconds - shortFinalSeconds;
}

// A wait at a stand, a pushback, a taxi to the departure end of the runway, a line-up, the
// take-off roll and the climb along the runway's heading.
void SyntheticTraffic::routeDeparture(Flight& flight) {
    const Runway& runway = layout_->runways[departureRunway_];
    flight.stand = freeStand();
    takeStandUse(flight, false);
    const Stand& stand = layout_->stands[static_cast<std::size_t>(flight.stand)];
    const double heading = runway.heading * degToRad;
    const double elevation = runway.elevation;
    const common::GeoPoint pushedBack =
        common::destinationPoint(stand.position, stand.heading * degToRad + pi, standClearanceNm);
    // Lifts off at 160 kt after at most three quarters of the runway.
    const double rollNm =
        std::min(160.0 * 160.0 / 8.0 / 3600.0, 0.75 * runway.lengthFt / feetPerNm);
    const common::GeoPoint liftOff = common::destinationPoint(runway.end, heading, rollNm);
    const double climbSeconds = 300.0;
    const common::GeoPoint climbed =
        common::destinationPoint(liftOff, heading, (160.0 + 280.0) / 2.0 * climbSeconds / 3600.0);
    flight.legs = {
        {stand.position, stand.position, 60.0, 0.0, 0.0, elevation, elevation, stand.heading, true},
        {stand.position, pushedBack, legSeconds(stand.position, pushedBack, 3.0, 3.0), 3.0, 3.0,
         elevation, elevation, stand.heading, true},
        {pushedBack, runway.end, legSeconds(pushedBack, runway.end, 15.0, 15.0), 15.0, 15.0,
         elevation, elevation, std::nullopt, true},
        {runway.end, runway.end, 20.0, 0.0, 0.0, elevation, elevation, runway.heading, true},
        {runway.end, liftOff, legSeconds(runway.end, liftOff, 0.0, 160.0), 0.0, 160.0, elevation,
         elevation, runway.heading, true},
        {liftOff, climbed, climbSeconds, 160.0, 280.0, elevation, elevation + 2500.0 * 5.0,
         runway.heading, false},
    };
    flight.duration = 0.0;
    for (const Leg& leg : flight.legs)
        flight.duration += leg.seconds;
}

TrafficState SyntheticTraffic::place(const Flight& flight, double seconds) const {
    const double t = seconds - flight.start;
    if (!flight.legs.empty()) {
        TrafficState s = flight.identity;
        double legStart = 0.0;
        std::size_t i = 0;
        while (i + 1 < flight.legs.size() && t >= legStart + flight.legs[i].seconds)
            legStart += flight.legs[i++].seconds;
        const Leg& leg = flight.legs[i];
        const double r = std::clamp(t - legStart, 0.0, leg.seconds);
        const double share = leg.seconds > 0.0 ? r / leg.seconds : 1.0;
        const double acceleration =
            leg.seconds > 0.0 ? (leg.endKnots - leg.startKnots) / leg.seconds : 0.0;
        const double bearing = common::initialBearing(leg.from, leg.to);
        const common::GeoPoint at = common::destinationPoint(
            leg.from, bearing, (leg.startKnots * r + acceleration * r * r / 2.0) / 3600.0);
        s.latitude = at.latitude;
        s.longitude = at.longitude;
        s.groundSpeed = leg.startKnots + acceleration * r;
        s.altitude = leg.startAltitude + (leg.endAltitude - leg.startAltitude) * share;
        s.verticalRate =
            leg.seconds > 0.0 ? (leg.endAltitude - leg.startAltitude) / leg.seconds * 60.0 : 0.0;
        s.track = leg.track ? *leg.track : bearing / degToRad;
        s.onGround = leg.onGround;
        return s;
    }
    const common::GeoPoint airport{latitude_, longitude_};
    const double runwayRadians = runwayHeading_ * pi / 180.0;
    TrafficState s = flight.identity;
    common::GeoPoint at = airport;
    switch (flight.role) {
        case Role::Arrival: {
            const double finalSeconds = finalLengthNm / 150.0 * 3600.0;
            if (t < finalSeconds) {
                const double remaining = finalLengthNm - 150.0 * t / 3600.0;
                at = common::destinationPoint(airport, runwayRadians + pi, remaining);
                s.altitude = elevation_ + remaining * feetPerNmOnThreeDegrees;
                s.verticalRate = -795.0;
                s.groundSpeed = 150.0;
                s.trueAirspeed = -1.0;
                s.track = runwayHeading_;
            } else if (t < finalSeconds + 60.0) {  // roll-out, slowing from 140 to 20 kt
                const double r = t - finalSeconds;
                s.groundSpeed = 140.0 - 2.0 * r;
                at = common::destinationPoint(airport, runwayRadians, (140.0 * r - r * r) / 3600.0);
                s.altitude = elevation_;
                s.track = runwayHeading_;
                s.onGround = true;
            } else {  // taxi in at 15 kt, then stand still at the gate
                const double r = t - finalSeconds - 60.0;
                const common::GeoPoint exit =
                    common::destinationPoint(airport, runwayRadians, 140.0 * 60.0 / 2.0 / 3600.0);
                const double taxiHeading = runwayRadians + pi / 2.0;
                const double taxied = std::min(r, 120.0) * 15.0 / 3600.0;
                at = common::destinationPoint(exit, taxiHeading, taxied);
                s.groundSpeed = r < 120.0 ? 15.0 : 0.0;
                s.altitude = elevation_;
                s.track = wrapDegrees(runwayHeading_ + 90.0);
                s.onGround = true;
            }
            break;
        }
        case Role::Departure: {
            if (t < 40.0) {  // the take-off roll, 4 kt per second
                s.groundSpeed = 4.0 * t;
                at = common::destinationPoint(airport, runwayRadians, 2.0 * t * t / 3600.0);
                s.altitude = elevation_;
                s.onGround = true;
            } else {
                const double climb = t - 40.0;
                s.groundSpeed = std::min(160.0 + climb, 280.0);
                const double rollNm = 2.0 * 40.0 * 40.0 / 3600.0;
                at = common::destinationPoint(airport, runwayRadians,
                                              rollNm + s.groundSpeed * climb / 3600.0);
                s.altitude = elevation_ + 2500.0 * climb / 60.0;
                s.verticalRate = 2500.0;
            }
            s.track = runwayHeading_;
            break;
        }
        case Role::Overflight: {
            const double heading = flight.heading * pi / 180.0;
            const common::GeoPoint abeam =
                common::destinationPoint(airport, heading + pi / 2.0, flight.offsetNm);
            const double along = (t - flight.duration / 2.0) * 460.0 / 3600.0;
            at = common::destinationPoint(abeam, along < 0 ? heading + pi : heading,
                                          std::fabs(along));
            s.altitude = flight.altitude;
            s.groundSpeed = 470.0;
            s.track = flight.heading;
            break;
        }
        case Role::Local: {  // clockwise round the airport
            const double speed = flight.identity.trueAirspeed;
            const double angle = flight.heading * degToRad + speed * t / 3600.0 / flight.offsetNm;
            at = common::destinationPoint(airport, angle, flight.offsetNm);
            s.altitude = flight.altitude;
            s.groundSpeed = speed;
            s.track = wrapDegrees(angle / degToRad + 90.0);
            break;
        }
        case Role::Taxi: {
            const double heading = flight.heading * pi / 180.0;
            const double leg = std::fmod(t, 200.0);
            const double distance = (leg < 100.0 ? leg : 200.0 - leg) * 12.0 / 3600.0;
            at = common::destinationPoint(common::destinationPoint(airport, heading, 0.4), heading,
                                          distance);
            s.groundSpeed = 12.0;
            s.altitude = elevation_;
            s.track = leg < 100.0 ? flight.heading : wrapDegrees(flight.heading + 180.0);
            s.onGround = true;
            break;
        }
    }
    s.latitude = at.latitude;
    s.longitude = at.longitude;
    return s;
}

std::vector<TrafficState> SyntheticTraffic::at(double seconds) {
    spawnDue(seconds);
    std::vector<TrafficState> states;
    states.reserve(flights_.size());
    for (const Flight& flight : flights_) {
        if (seconds >= flight.start) states.push_back(place(flight, seconds));
    }
    return states;
}

}  // namespace corv::rtfeed
