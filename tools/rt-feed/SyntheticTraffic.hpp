#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "AirportLayout.hpp"
#include "TrafficDatagram.hpp"

namespace corv::rtfeed {

// Plausible traffic around an airport, made up as it goes: arrivals on a 3 degree path that
// land and taxi in, departures that roll and climb out, overflights at several levels, a
// few aircraft taxiing and a few based aircraft flying circles round it. Time is in seconds of
// the feed; the airport is where the program's user first was. With the airport's layout the
// arrivals land on a real runway and taxi to a real stand, and the departures push back from a
// real stand and take off from a real runway (the first arrival already on short final, so that
// a landing and a parking are seen soon); without it they use a made-up runway through the
// airport's reference point.
class SyntheticTraffic {
  public:
    SyntheticTraffic(double airportLatitude, double airportLongitude, double airportElevation,
                     unsigned seed, std::optional<AirportLayout> layout = std::nullopt);

    // The aircraft that exist at this moment, moved to it.
    std::vector<TrafficState> at(double seconds);

  private:
    enum class Role { Arrival, Departure, Overflight, Taxi, Local };
    // A stretch of a flight along the layout, at a speed changing evenly from start to end.
    struct Leg {
        common::GeoPoint from;
        common::GeoPoint to;
        double seconds;
        double startKnots;
        double endKnots;
        double startAltitude;
        double endAltitude;
        std::optional<double> track;  // degrees; the way from start to end when not given
        bool onGround;
    };
    struct Flight {
        Role role;
        double start;  // when it appeared
        double duration;
        TrafficState identity;
        double heading;   // overflights, taxi legs; where a local flight starts its circle
        double offsetNm;  // overflights: distance of the track from the airport; local: radius
        double altitude;  // overflights and local flights: level
        std::vector<Leg> legs;  // arrivals and departures along the layout
        int stand = -1;         // the one it stands at, in the layout
    };

    void spawnDue(double seconds);
    Flight newFlight(Role role, double seconds);
    TrafficState place(const Flight& flight, double seconds) const;
    void routeArrival(Flight& flight, bool onShortFinal);
    void routeDeparture(Flight& flight);
    int freeStand(const std::optional<common::GeoPoint>& nearestTo = std::nullopt);
    void takeStandUse(Flight& flight, bool arriving);

    double latitude_;
    double longitude_;
    double elevation_;
    double runwayHeading_;  // degrees
    std::optional<AirportLayout> layout_;
    std::size_t landingRunway_ = 0;  // in the layout
    std::size_t departureRunway_ = 0;
    std::mt19937 random_;
    std::vector<Flight> flights_;
    double nextArrival_ = 0.0;
    bool arrivalRouted_ = false;  // the first one along the layout starts on short final
    double nextDeparture_ = 20.0;
    std::uint32_t nextHexid_ = 4000000;
};

}  // namespace corv::rtfeed
