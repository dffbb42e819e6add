#include "ui/WindowIcon.hpp"

#include <algorithm>
#include <cmath>

#include "ui/Canvas.hpp"

namespace corv::ui {

namespace {
constexpr double centre = (WindowIcon::size - 1) / 2.0;
constexpr double cornerRadius = 6.0;

// Between a leading and a trailing edge that both run from the fuselage back to a tip.
bool inSweptSurface(double dx, double y, double rootFront, double rootBack, double tipFront,
                    double tipBack, double span) {
    if (dx > span) return false;
    const double share = dx / span;
    return y >= rootFront + share * (tipFront - rootFront) &&
           y <= rootBack + share * (tipBack - rootBack);
}

bool onAircraft(double x, double y) {
    const double dx = std::abs(x - centre);
    const bool nose = y >= 3 && y < 7 && dx <= 0.6 + (y - 3) * 0.35;
    const bool fuselage = y >= 7 && y <= 28 && dx <= 1.6;
    const bool wings = inSweptSurface(dx, y, 10, 16.5, 17, 20.5, 13.6);
    const bool tail = inSweptSurface(dx, y, 22, 26.5, 26, 28.5, 6.6);
    return nose || fuselage || wings || tail;
}

// Rounded corners: the outside of each corner's quarter circle stays transparent.
bool insideRoundedSquare(double x, double y) {
    const double last = WindowIcon::size - 1;
    const double cx = std::min(std::max(x, cornerRadius), last - cornerRadius);
    const double cy = std::min(std::max(y, cornerRadius), last - cornerRadius);
    return std::hypot(x - cx, y - cy) <= cornerRadius;
}
}  // namespace

WindowIcon drawWindowIcon() {
    WindowIcon icon;
    icon.rgba.reserve(static_cast<std::size_t>(WindowIcon::size * WindowIcon::size * 4));
    for (int row = 0; row < WindowIcon::size; ++row) {
        for (int column = 0; column < WindowIcon::size; ++column) {
            const double x = column;
            const double y = row;
            const bool inside = insideRoundedSquare(x, y);
            const Color color = inside && onAircraft(x, y) ? colors::lime : colors::black;
            icon.rgba.insert(icon.rgba.end(), {color.red, color.green, color.blue,
                                               static_cast<std::uint8_t>(inside ? 255 : 0)});
        }
    }
    return icon;
}

}  // namespace corv::ui
