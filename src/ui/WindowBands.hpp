#pragma once

#include "status/WindowSeam.hpp"
#include "ui/Canvas.hpp"

namespace corv::ui {

inline constexpr Rect titleBand{0, 0, 880, 28};

// The horizontal bands of the client area, from top to bottom below the title band.
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

// The client area that painting covers: as wide as the bands, ending with the message band.
// (880 x 516 is the size of the decorated window.)
inline constexpr int clientWidth = 880;
inline constexpr int clientHeight = bandRect(status::Band::Message).bottom;

}  // namespace corv::ui
