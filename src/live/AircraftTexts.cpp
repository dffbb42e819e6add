#include "live/AircraftTexts.hpp"

#include <fmt/format.h>

#include "liveries/ReferenceData.hpp"

namespace corv::live {

std::string identityText(const common::AircraftIdentity& identity,
                         const liveries::ReferenceData& reference) {
    const std::string operatorPart =
        identity.operatorIndex == 0
            ? std::string()
            : fmt::format(",{}", reference.airlineText(identity.operatorIndex));
    return fmt::format("{:3}{:4} {:4}{}{:3}", reference.airlineText(identity.airline), operatorPart,
                       reference.modelText(identity.model), identity.fromRegistration ? "." : " ",
                       identity.cargo ? "(C)" : "");
}

std::string routeText(const common::FixedCode<3>& origin, const common::FixedCode<3>& destination) {
    if (origin.empty() && destination.empty()) return std::string(8, ' ');
    return fmt::format("{:3}->{:3}", origin.view(), destination.view());
}

std::string flightText(std::string_view callsign, std::string_view registration,
                       const common::FixedCode<3>& origin,
                       const common::FixedCode<3>& destination) {
    return fmt::format("{} {:12} {}", fmt::format("{:8}", callsign), registration,
                       routeText(origin, destination));
}

std::string descriptionText(const AircraftName& name, const liveries::ReferenceData& reference) {
    return flightText(name.callsign, name.registration, name.origin, name.destination) + " " +
           identityText(name.identity, reference);
}

std::string noLiveryKey(const common::AircraftIdentity& identity, std::string_view registration,
                        const liveries::ReferenceData& reference) {
    return identityText(identity, reference) + " " + std::string(registration);
}

}  // namespace corv::live
