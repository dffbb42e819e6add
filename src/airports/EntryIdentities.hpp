#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/AircraftIdentity.hpp"

namespace corv::airports {

// Who stands at a stand, as the aircraft reference data tells: the airport files name aircraft
// by registration, airline and type, and the reference data (on the same floor) owns the code
// tables. The composition root provides it.
class EntryIdentities {
  public:
    virtual ~EntryIdentities() = default;
    // The identity of the reference record of a registration (in any of its written forms).
    virtual std::optional<common::AircraftIdentity> ofRegistration(
        std::string_view registration) const = 0;
    // An identity of an airline and an ICAO type code, operator and cargo 0.
    virtual common::AircraftIdentity ofCodes(std::string_view airline,
                                             std::string_view type) const = 0;
    virtual std::string airlineCode(const common::AircraftIdentity& identity) const = 0;
    virtual std::string typeCode(const common::AircraftIdentity& identity) const = 0;
    // The identity as the log shows it.
    virtual std::string text(const common::AircraftIdentity& identity) const = 0;
};

}  // namespace corv::airports
