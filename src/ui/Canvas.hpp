#pragma once

#include <cstdint>
#include <string_view>

namespace corv::ui {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

namespace colors {
inline constexpr Color black{0, 0, 0};
inline constexpr Color lightBlue{153, 204, 255};
inline constexpr Color lime{50, 205, 50};
inline constexpr Color yellow{255, 255, 0};
inline constexpr Color red{255, 0, 0};
inline constexpr Color grey{160, 160, 160};
inline constexpr Color white{255, 255, 255};
}  // namespace colors

// A rectangle in client pixels; right and bottom lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What painting needs from a drawing surface. Texts are placed by their top-left corner and
// drawn without background.
class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void fill(const Rect& rect, Color color) = 0;
    virtual void line(int x1, int y1, int x2, int y2, Color color) = 0;
    virtual void text(int x, int y, std::string_view text, Color color) = 0;
};

}  // namespace corv::ui
