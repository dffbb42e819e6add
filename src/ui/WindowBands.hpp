#pragma once

#include "status/WindowSeam.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

// The client area that painting covers, and the horizontal bands it is made of.
inline constexpr int clientWidth = 880;
inline constexpr int clientHeight = 516;

inline constexpr Rect titleBand{0, 0, 880, 28};

constexpr Rect bandRect(status::Band band) {
    switch (band) {
        case status::Band::Status:
            return {0, 28, 880, 112};
        case status::Band::Controls:
            return {0, 112, 880, 392};
        case status::Band::Parking:
            return {0, 392, 880, 448};
        case status::Band::Message:
            return {0, 448, 880, 476};
    }
    return {};
}

}  // namespace corv::ui
