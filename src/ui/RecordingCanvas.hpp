#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/Canvas.hpp"

namespace corv::ui {

// Keeps every drawing call in order instead of drawing, so that a paint can be checked.
class RecordingCanvas final : public Canvas {
  public:
    struct Fill {
        Rect rect;
        Color color;
        friend bool operator==(const Fill&, const Fill&) = default;
    };
    struct Line {
        int x1, y1, x2, y2;
        Color color;
        friend bool operator==(const Line&, const Line&) = default;
    };
    struct Text {
        int x, y;
        std::string text;
        Color color;
        friend bool operator==(const Text&, const Text&) = default;
    };
    using Call = std::variant<Fill, Line, Text>;

    void fill(const Rect& rect, Color color) override;
    void line(int x1, int y1, int x2, int y2, Color color) override;
    void text(int x, int y, std::string_view text, Color color) override;

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Fill> fills() const;
    std::vector<Line> lines() const;
    std::vector<Text> texts() const;

    // The last drawing of exactly this text, if any.
    std::optional<Text> findText(std::string_view text) const;
    // The text drawn last at (x, y), if any.
    std::optional<Text> textAt(int x, int y) const;

  private:
    std::vector<Call> calls_;
};

}  // namespace corv::ui
