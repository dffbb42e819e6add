#pragma once

#include <cstdint>
#include <string>

namespace corv::rtfeed {

// One aircraft as RealTraffic reports it.
struct TrafficState {
    std::uint32_t hexid = 0;  // decimal in the datagram
    double latitude = 0.0;
    double longitude = 0.0;
    double altitude = 0.0;       // feet, barometric
    double verticalRate = 0.0;   // feet per minute
    double track = 0.0;          // degrees
    double groundSpeed = 0.0;    // knots
    double trueAirspeed = -1.0;  // knots, -1 when not given
    double roll = 0.0;           // degrees
    std::string callsign;
    std::string type;
    std::string registration;
    std::string origin = "null";       // IATA
    std::string destination = "null";  // IATA
    std::string category = "A3";       // ADS-B emitter category
    bool onGround = false;
    bool providerPrefix = false;  // some sources mark the message type with a prefix
};

// The traffic datagram: "RTTFC" and 41 more fields, as RealTraffic broadcasts them.
std::string trafficDatagram(const TrafficState& state, double timestamp);

// The weather datagram; QNH in hectopascals, or in hundredths of inHg when asked.
std::string weatherDatagram(double qnhHectopascal, bool inHg);

}  // namespace corv::rtfeed
