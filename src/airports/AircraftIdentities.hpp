#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/AircraftIdentity.hpp"

namespace corv::airports {

// What the airport files need of the aircraft reference data, which the liveries own; the
// composition root fills it from there.
class AircraftIdentities {
  public:
    virtual ~AircraftIdentities() = default;

    // The reference record of a registration, tried in its known forms; fromRegistration set.
    virtual std::optional<common::AircraftIdentity> ofRegistration(
        std::string_view registration) const = 0;
    // An identity from an airline code and an ICAO type code, operator 0 and not cargo.
    virtual common::AircraftIdentity ofCodes(std::string_view airline,
                                             std::string_view type) const = 0;
    virtual std::string airlineCode(const common::AircraftIdentity& identity) const = 0;
    virtual std::string typeCode(const common::AircraftIdentity& identity) const = 0;
    // The identity as log lines show it.
    virtual std::string text(const common::AircraftIdentity& identity) const = 0;
    // Half the wingspan of its type, nautical miles: the room it takes on a stand; the mean of
    // its size category when the type has no wingspan.
    virtual double halfWingspan(const common::AircraftIdentity& identity) const = 0;
};

}  // namespace corv::airports
