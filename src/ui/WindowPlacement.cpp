#include "ui/WindowPlacement.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"

namespace corv::ui {

namespace {
constexpr int visibleMargin = 48;

std::int64_t overlapArea(const ScreenRect& a, const ScreenRect& b) {
    const std::int64_t w =
        std::min<std::int64_t>(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const std::int64_t h =
        std::min<std::int64_t>(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return (w > 0 && h > 0) ? w * h : 0;
}

// Distance between two rectangles along each axis (0 where they overlap), squared.
std::int64_t gapSquared(const ScreenRect& a, const ScreenRect& b) {
    const auto gap = [](std::int64_t lowA, std::int64_t highA, std::int64_t lowB,
                        std::int64_t highB) {
        return std::max<std::int64_t>({0, lowB - highA, lowA - highB});
    };
    const std::int64_t dx = gap(a.x, a.x + a.width, b.x, b.x + b.width);
    const std::int64_t dy = gap(a.y, a.y + a.height, b.y, b.y + b.height);
    return dx * dx + dy * dy;
}

int keepAxisOnMonitor(int position, int size, int low, int high) {
    if (high - low < size) position = low;
    if (position + size < low + visibleMargin) position = low + visibleMargin - size;
    return std::min(position, high - visibleMargin);
}

void fallBackWhenClamped(settings::HiddenNumber& coordinate, int previous,
                         settings::SettingsFile& settings) {
    const int value = coordinate.value();
    if (value == coordinate.minimum() || value == coordinate.maximum()) {
        coordinate.setCurrent(previous);
        settings.saveNumber(coordinate);
    }
}
}  // namespace

ScreenRect nearestMonitor(const ScreenRect& window, const std::vector<ScreenRect>& monitors) {
    if (monitors.empty()) return window;
    const ScreenRect* best = &monitors.front();
    std::int64_t bestOverlap = -1;
    std::int64_t bestGap = std::numeric_limits<std::int64_t>::max();
    for (const ScreenRect& monitor : monitors) {
        const std::int64_t overlap = overlapArea(window, monitor);
        const std::int64_t gap = gapSquared(window, monitor);
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap)) {
            best = &monitor;
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    return *best;
}

WindowPosition keepOnMonitor(const ScreenRect& window, const std::vector<ScreenRect>& monitors) {
    const ScreenRect monitor = nearestMonitor(window, monitors);
    return {keepAxisOnMonitor(window.x, window.width, monitor.x, monitor.x + monitor.width),
            keepAxisOnMonitor(window.y, window.height, monitor.y, monitor.y + monitor.height)};
}

WindowPosition keepWindowOnScreen(int previousX, int previousY,
                                  const std::vector<ScreenRect>& monitors,
                                  settings::SettingsFile& settings) {
    fallBackWhenClamped(settings::MAIN_WINDOW_X, previousX, settings);
    fallBackWhenClamped(settings::MAIN_WINDOW_Y, previousY, settings);

    const WindowPosition current{settings::MAIN_WINDOW_X.value(), settings::MAIN_WINDOW_Y.value()};
    if (monitors.empty()) return current;
    const WindowPosition kept =
        keepOnMonitor({current.x, current.y, mainWindowWidth, mainWindowHeight}, monitors);
    if (kept != current) {
        settings::MAIN_WINDOW_X.setCurrent(kept.x);
        settings::MAIN_WINDOW_Y.setCurrent(kept.y);
        settings.saveNumber(settings::MAIN_WINDOW_X);
        settings.saveNumber(settings::MAIN_WINDOW_Y);
    }
    return {settings::MAIN_WINDOW_X.value(), settings::MAIN_WINDOW_Y.value()};
}

}  // namespace corv::ui
