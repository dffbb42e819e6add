#pragma once

#include <cstdint>
#include <vector>

namespace corv::ui {

// The window's icon, drawn here rather than loaded: an aircraft seen from above, in the
// window's lime on black, as size x size pixels of red, green, blue and alpha, row by row.
struct WindowIcon {
    static constexpr int size = 32;
    std::vector<std::uint8_t> rgba;
};

WindowIcon drawWindowIcon();

}  // namespace corv::ui
