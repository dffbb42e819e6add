#pragma once

#include "ui/Canvas.hpp"
#include "ui/WindowSeam.hpp"

namespace corv::ui {

// The client area that painting covers, and the horizontal bands it is made of.
inline constexpr int clientWidth = 880;
inline constexpr int clientHeight = 516;

inline constexpr Rect titleBand{0, 0, 880, 28};

constexpr Rect bandRect(Band band) {
    switch (band) {
        case Band::Status:
            return {0, 28, 880, 112};
        case Band::Controls:
            return {0, 112, 880, 392};
        case Band::Parking:
            return {0, 392, 880, 448};
        case Band::Message:
            return {0, 448, 880, 476};
    }
    return {};
}

}  // namespace corv::ui
