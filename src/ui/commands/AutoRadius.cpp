#include "ui/commands/AutoRadius.hpp"

#include <cmath>

namespace corv::ui {

int autoRadiusNm(const AutoRadiusInput& input) {
    if (input.userOnGround) return 10;
    if (input.userAltitudeFeet > input.arAboveHeightFeet) return 100;
    if (input.userAltitudeFeet > input.airportHeightFeet) return 40;
    const double d = input.firstAirportDistanceNm.value_or(10000.0);
    if (d <= 7.0) return 10;
    if (d >= 37.0) return 40;
    const long n = std::lround(d);
    if (n >= 33) return 35;
    if (n >= 28) return 30;
    if (n >= 23) return 25;
    if (n >= 19) return 20;
    if (n >= 17) return 18;
    if (n >= 15) return 16;
    if (n >= 13) return 14;
    if (n >= 11) return 12;
    if (n >= 9) return 10;
    return 8;
}

}  // namespace corv::ui
