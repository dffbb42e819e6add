#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "airports/AircraftIdentities.hpp"

namespace corv::airports {

// For airport files that name no aircraft: stands read from scenery, without occupancy.
struct NoAircraftIdentities final : AircraftIdentities {
    std::optional<common::AircraftIdentity> ofRegistration(std::string_view) const override {
        return std::nullopt;
    }
    common::AircraftIdentity ofCodes(std::string_view, std::string_view) const override {
        return {};
    }
    std::string airlineCode(const common::AircraftIdentity&) const override { return {}; }
    std::string typeCode(const common::AircraftIdentity&) const override { return {}; }
    std::string text(const common::AircraftIdentity&) const override { return {}; }
    double halfWingspan(const common::AircraftIdentity&) const override { return 0.0; }
};

}  // namespace corv::airports
