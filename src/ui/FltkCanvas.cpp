#include "ui/FltkCanvas.hpp"

#include <FL/Enumerations.H>
#include <FL/fl_draw.H>

namespace corv::ui {

namespace {
constexpr int textSize = 13;

void useColor(Color color) {
    fl_color(color.red, color.green, color.blue);
}
}  // namespace

FltkCanvas::FltkCanvas() {
    fl_font(FL_HELVETICA, textSize);
}

void FltkCanvas::fill(const Rect& rect, Color color) {
    fl_rectf(rect.left, rect.top, rect.width(), rect.height(), color.red, color.green, color.blue);
}

void FltkCanvas::line(int x1, int y1, int x2, int y2, Color color) {
    useColor(color);
    fl_line(x1, y1, x2, y2);
}

void FltkCanvas::text(int x, int y, std::string_view text, Color color) {
    if (text.empty()) return;
    useColor(color);
    // FLTK places text on its baseline; the layout gives the top of the text.
    fl_draw(text.data(), static_cast<int>(text.size()), x, y + fl_height() - fl_descent());
}

}  // namespace corv::ui
