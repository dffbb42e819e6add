#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "TrafficDatagram.hpp"

namespace corv::rtfeed {

// Plausible traffic around an airport, made up as it goes: arrivals on a 3 degree path that
// land and taxi in, departures that roll and climb out, overflights at several levels, a
// few aircraft taxiing and a few based aircraft flying circles round it. Time is in seconds of the feed; the airport is where the program's user
// first was.
class SyntheticTraffic {
  public:
    SyntheticTraffic(double airportLatitude, double airportLongitude, double airportElevation,
                     unsigned seed);

    // The aircraft that exist at this moment, moved to it.
    std::vector<TrafficState> at(double seconds);

  private:
    enum class Role { Arrival, Departure, Overflight, Taxi, Local };
    struct Flight {
        Role role;
        double start;  // when it appeared
        double duration;
        TrafficState identity;
        double heading;   // overflights, taxi legs; where a local flight starts its circle
        double offsetNm;  // overflights: distance of the track from the airport; local: radius
        double altitude;  // overflights and local flights: level
    };

    void spawnDue(double seconds);
    Flight newFlight(Role role, double seconds);
    TrafficState place(const Flight& flight, double seconds) const;

    double latitude_;
    double longitude_;
    double elevation_;
    double runwayHeading_;  // degrees
    std::mt19937 random_;
    std::vector<Flight> flights_;
    double nextArrival_ = 0.0;
    double nextDeparture_ = 20.0;
    std::uint32_t nextHexid_ = 4000000;
};

}  // namespace corv::rtfeed
