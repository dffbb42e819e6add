#pragma once

#include <optional>

namespace corv::ui {

struct AutoRadiusInput {
    bool userOnGround = true;
    double userAltitudeFeet = 0.0;
    int arAboveHeightFeet = 48000;  // above this the radius is 100 nm
    int airportHeightFeet = 18000;  // above this it is 40 nm
    // Distance to the first airport of the park airport list; none when the list is empty.
    std::optional<double> firstAirportDistanceNm;
};

// The automatic traffic radius in nautical miles: small near an airport, wide at height.
int autoRadiusNm(const AutoRadiusInput& input);

}  // namespace corv::ui
