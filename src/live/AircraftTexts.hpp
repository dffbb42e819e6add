#pragma once

#include <string>
#include <string_view>

#include "common/AircraftIdentity.hpp"
#include "common/FixedCode.hpp"

namespace corv::liveries {
class ReferenceData;
}

namespace corv::live {

// How log lines name an aircraft, live or parked.
struct AircraftName {
    std::string_view callsign;
    std::string_view registration;
    const common::FixedCode<3>& origin;
    const common::FixedCode<3>& destination;
    const common::AircraftIdentity& identity;
};

// "KLM B738 ", "KLM,CFE A320.(C)": airline, operator, model, from-registration mark, cargo.
std::string identityText(const common::AircraftIdentity& identity,
                         const liveries::ReferenceData& reference);
// "AMS->LHR", "AMS->   ", or eight blanks when neither end is known.
std::string routeText(const common::FixedCode<3>& origin, const common::FixedCode<3>& destination);
// Callsign, registration and route.
std::string flightText(std::string_view callsign, std::string_view registration,
                       const common::FixedCode<3>& origin, const common::FixedCode<3>& destination);
// Callsign, registration, route and identity, as the log names the aircraft.
std::string descriptionText(const AircraftName& name, const liveries::ReferenceData& reference);
// The key under which an aircraft without a livery is remembered.
std::string noLiveryKey(const common::AircraftIdentity& identity, std::string_view registration,
                        const liveries::ReferenceData& reference);

}  // namespace corv::live
