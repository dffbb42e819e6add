#pragma once

#include <vector>

namespace corv::settings {
class SettingsFile;
}

namespace corv::ui {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct WindowPosition {
    int x = 0;
    int y = 0;
    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

// The outer size of the main window.
inline constexpr int mainWindowWidth = 880;
inline constexpr int mainWindowHeight = 516;

// The monitor nearest to a window: the one it overlaps most, else the closest one.
ScreenRect nearestMonitor(const ScreenRect& window, const std::vector<ScreenRect>& monitors);

// Moves a window so that at least 48 x 48 of its pixels lie on its nearest monitor.
WindowPosition keepOnMonitor(const ScreenRect& window, const std::vector<ScreenRect>& monitors);

// Keeps the stored main-window position (MAIN_WINDOW_X, MAIN_WINDOW_Y) on a monitor: a value
// that had been clamped to a bound falls back to the previous one, and every change is saved.
// Returns the position the window must take.
WindowPosition keepWindowOnScreen(int previousX, int previousY,
                                  const std::vector<ScreenRect>& monitors,
                                  settings::SettingsFile& settings);

}  // namespace corv::ui
