#include "TrafficDatagram.hpp"

#include <cmath>

#include <fmt/format.h>

namespace corv::rtfeed {

std::string trafficDatagram(const TrafficState& s, double timestamp) {
    const std::string callsign = s.callsign.empty() ? "null" : s.callsign;
    const std::string iataCallsign =
        callsign.size() > 3 ? callsign.substr(0, 2) + callsign.substr(3) : callsign;
    const std::string source = s.providerPrefix ? "F_adsb_icao" : "adsb_icao";
    const double mach = s.trueAirspeed > 0 ? s.trueAirspeed / 661.5 : 0.0;
    const std::string trueAirspeed =
        s.trueAirspeed < 0 ? "-1" : fmt::format("{:.0f}", s.trueAirspeed);
    const double indicated =
        s.trueAirspeed > 0 ? s.trueAirspeed * (1.0 - s.altitude / 70000.0) : -1.0;
    return fmt::format(
        "RTTFC,{},{:.5f},{:.5f},{:.0f},{:.0f},{},{:.2f},{:.1f},{},{},{},{},{},{:.1f},X2,{},{},{:."
        "0f},{:.0f},{},"
        "{:.3f},0.0,{:.1f},{:.2f},{:.2f},{:.0f},none,{},1013.2,{:.0f},-1,{:.2f},autopilot|tcas,0.1,"
        "-21.5,270,12,-30,"
        "0,1,120000",
        s.hexid, s.latitude, s.longitude, s.altitude, s.verticalRate, s.onGround ? 1 : 0, s.track,
        s.groundSpeed, callsign, s.type, s.registration, s.origin, s.destination, timestamp,
        iataCallsign, source, s.altitude + 150.0, indicated, trueAirspeed, mach, s.roll,
        std::fmod(s.track + 357.0, 360.0), s.track, s.verticalRate, s.category,
        std::round(s.altitude / 1000.0) * 1000.0, s.track);
}

std::string weatherDatagram(double qnhHectopascal, bool inHg) {
    const std::string qnh = inHg ? fmt::format("{:.0f}", qnhHectopascal / 33.8639 * 100.0)
                                 : fmt::format("{:.1f}", qnhHectopascal);
    return fmt::format(
        R"({{"ICAO": "ZZZZ", "QNH": {}, "METAR": "ZZZZ 101220Z 27008KT 9999 FEW030 12/06 Q{:.0f}", "NAME": "rt-feed weather", "IATA": "ZZZ", "DISTNM": 0.4}})",
        qnh, qnhHectopascal);
}

}  // namespace corv::rtfeed
