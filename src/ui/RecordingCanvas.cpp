#include "ui/RecordingCanvas.hpp"

namespace corv::ui {

namespace {
template <typename Kind>
std::vector<Kind> callsOf(const std::vector<RecordingCanvas::Call>& calls) {
    std::vector<Kind> found;
    for (const auto& call : calls) {
        if (const auto* kind = std::get_if<Kind>(&call)) found.push_back(*kind);
    }
    return found;
}
}  // namespace

void RecordingCanvas::fill(const Rect& rect, Color color) {
    calls_.emplace_back(Fill{rect, color});
}

void RecordingCanvas::line(int x1, int y1, int x2, int y2, Color color) {
    calls_.emplace_back(Line{x1, y1, x2, y2, color});
}

void RecordingCanvas::text(int x, int y, std::string_view text, Color color) {
    calls_.emplace_back(Text{x, y, std::string(text), color});
}

std::vector<RecordingCanvas::Fill> RecordingCanvas::fills() const {
    return callsOf<Fill>(calls_);
}

std::vector<RecordingCanvas::Line> RecordingCanvas::lines() const {
    return callsOf<Line>(calls_);
}

std::vector<RecordingCanvas::Text> RecordingCanvas::texts() const {
    return callsOf<Text>(calls_);
}

std::optional<RecordingCanvas::Text> RecordingCanvas::findText(std::string_view text) const {
    std::optional<Text> found;
    for (const Text& drawn : texts()) {
        if (drawn.text == text) found = drawn;
    }
    return found;
}

std::optional<RecordingCanvas::Text> RecordingCanvas::textAt(int x, int y) const {
    std::optional<Text> found;
    for (const Text& drawn : texts()) {
        if (drawn.x == x && drawn.y == y) found = drawn;
    }
    return found;
}

}  // namespace corv::ui
