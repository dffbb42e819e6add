#pragma once

#include "ui/Canvas.hpp"

namespace corv::ui {

// Draws with FLTK into the surface of the window being drawn; use it only inside a draw().
class FltkCanvas final : public Canvas {
  public:
    FltkCanvas();

    void fill(const Rect& rect, Color color) override;
    void line(int x1, int y1, int x2, int y2, Color color) override;
    void text(int x, int y, std::string_view text, Color color) override;
};

}  // namespace corv::ui
