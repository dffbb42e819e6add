#pragma once

#include "airports/AircraftIdentities.hpp"
#include "liveries/ReferenceData.hpp"

namespace corv::parking {

// The airport files' view of the aircraft reference data.
class ReferenceIdentities final : public airports::AircraftIdentities {
  public:
    explicit ReferenceIdentities(liveries::ReferenceData& reference) : reference_(reference) {}

    std::optional<common::AircraftIdentity> ofRegistration(
        std::string_view registration) const override;
    common::AircraftIdentity ofCodes(std::string_view airline,
                                     std::string_view type) const override;
    std::string airlineCode(const common::AircraftIdentity& identity) const override;
    std::string typeCode(const common::AircraftIdentity& identity) const override;
    std::string text(const common::AircraftIdentity& identity) const override;
    double halfWingspan(const common::AircraftIdentity& identity) const override;

  private:
    liveries::ReferenceData& reference_;
};

}  // namespace corv::parking
