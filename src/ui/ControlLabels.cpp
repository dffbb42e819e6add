#include "ui/ControlLabels.hpp"

#include <string_view>

#include <fmt/format.h>

#include "settings/ParameterTable.hpp"

namespace corv::ui {

namespace {
using namespace settings;

// Stands in for the request to mail the add-on airport scan's diagnostic archive.
constexpr std::string_view tbloMailRequest = "<- please mail tblo.zip to corvane@example.org";

constexpr int renewalMinutes = 20;

struct Label {
    int x;
    int y;
    std::string_view text;
    Color color = colors::black;
};

Color yellowWhen(bool attention) {
    return attention ? colors::yellow : colors::black;
}

Color greyUnless(bool active) {
    return active ? colors::black : colors::grey;
}

// Both red: no aircraft may park at all. Otherwise a zero of its own is worth a look.
struct ParkLimitColors {
    Color maxPark;
    Color maxLive;
};
ParkLimitColors parkLimitColors() {
    const bool noPark = MAX_PARK_SEL.value() == 0;
    const bool noLive = MAX_LIVE_SEL.value() == 0;
    if (noPark && noLive) return {colors::red, colors::red};
    return {yellowWhen(noPark), yellowWhen(noLive)};
}

void paintRenewalNote(Canvas& canvas, const status::DisplaySnapshot& display) {
    if (!display.parkAirportLoaded || display.staticComputationRunning) return;
    if (INITIAL_LOAD_ONLY.value()) {
        canvas.text(5, 343, "(no next ... )", colors::black);
    } else if (display.minutesToRenewal > 0 && display.minutesToRenewal < renewalMinutes) {
        canvas.text(5, 343, fmt::format("(next in {} min)", display.minutesToRenewal),
                    colors::black);
    }
}
}  // namespace

void paintControlLabels(Canvas& canvas, const status::DisplaySnapshot& display,
                        const ControlEnabled& controlEnabled) {
    const auto enabled = [&](const ControlBinding& control) {
        return !controlEnabled || controlEnabled(control.controlId);
    };
    const bool autoRange = AUTO_RANGE.value();
    const ParkLimitColors parkLimits = parkLimitColors();

    const Label labels[] = {
        {5, 119, "Install path:"},
        {25, 147, "Scan for liveries", yellowWhen(SCAN_LIVERIES.value())},
        {556, 147, "Prioritize"},
        {652, 147, "Meta:"},
        {768, 147, "Stay on top"},
        {25, 175, "Scan for addon airports", yellowWhen(SCAN_AIRPORTS.value())},
        {768, 175, "Nav lights"},
        {5, 203, "Max aircraft matching depth"},
        {258, 203, "Optional:"},
        {343, 203, "Light aircraft", greyUnless(enabled(LIGHT_AIRCRAFT))},
        {450, 203, "Helicopters", greyUnless(enabled(HELICOPTERS))},
        {556, 203, "FighterJets", greyUnless(enabled(HIGH_PERF_AIRCRAFT))},
        {672, 203, "Aerowinx", yellowWhen(AEROWINX.value())},
        {768, 203, "GUID changes", yellowWhen(!GUID_CHANGES.value())},
        {5, 231, "Traffic injection"},
        {163, 231, "Radius:"},
        {270, 231, "nm, or"},
        {343, 231, "Auto radius"},
        {430, 231, "Ah:", greyUnless(autoRange)},
        {536, 231, "ft", greyUnless(autoRange)},
        {592, 231, "AirOnly", yellowWhen(AIRBORNE_ONLY.value())},
        {5, 259, "Block callsign:"},
        {5, 287, "Collision avoidance"},
        {237, 287, "User ground"},
        {343, 287, "User air"},
        {450, 287, "Live X parked"},
        {5, 315, "Airport parking", yellowWhen(display.staticComputationRunning)},
        {171, 315, "Max park (static+live):", parkLimits.maxPark},
        {401, 315, "Max live (park incl):", parkLimits.maxLive},
        {672, 315, "Straight push backs only", greyUnless(STRAIGHT_PBS_ONLY.value())},
        {137, 343, "Destination:"},
        {303, 343, "Range:"},
        {403, 343, "nm"},
        {440, 343, "Height above gnd:"},
        {646, 343, "ft"},
        {25, 371, "ILO", yellowWhen(INITIAL_LOAD_ONLY.value())},
        {91, 371, "Week"},
        {171, 371, "Soft"},
        {264, 371, "Target: "},
        {378, 371, "%"},
        {506, 371, "Max fit:"},
        {632, 371, "hrs"},
    };
    for (const Label& label : labels) {
        canvas.text(label.x, label.y, label.text, label.color);
    }

    if (display.tbloRequestShown) canvas.text(303, 175, tbloMailRequest, colors::yellow);
    paintRenewalNote(canvas, display);
}

}  // namespace corv::ui
