#include "ui/FltkScreens.hpp"

#include <FL/Fl.H>

namespace corv::ui {

std::vector<ScreenRect> screenMonitors() {
    std::vector<ScreenRect> monitors;
    const int count = Fl::screen_count();
    for (int n = 0; n < count; ++n) {
        ScreenRect monitor;
        Fl::screen_xywh(monitor.x, monitor.y, monitor.width, monitor.height, n);
        monitors.push_back(monitor);
    }
    return monitors;
}

}  // namespace corv::ui
