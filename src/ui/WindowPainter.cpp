#include "ui/WindowPainter.hpp"

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "ui/ControlLabels.hpp"
#include "ui/ParkingBand.hpp"
#include "ui/StatusBand.hpp"
#include "ui/WindowBands.hpp"

namespace corv::ui {

namespace {
// Outside the band rectangle on purpose: the error fill also covers the last row and column.
constexpr Rect messageBandFill{0, 448, 881, 477};
constexpr int messageX = 3;
constexpr int messageY = 455;

// Stands in for the maker's notice in the title band.
constexpr std::string_view makersNotice = "(c) the Corvane makers";

void paintBands(Canvas& canvas) {
    canvas.fill(titleBand, colors::black);
    canvas.fill(bandRect(status::Band::Status), colors::black);
    canvas.fill(bandRect(status::Band::Controls), colors::lightBlue);
    canvas.fill(bandRect(status::Band::Parking), colors::black);
    canvas.fill(bandRect(status::Band::Message), colors::lime);
    for (const int y : {28, 113, 449, 392}) {
        canvas.line(0, y, clientWidth, y, colors::white);
    }
}

void paintTitle(Canvas& canvas) {
    const std::string version =
        fmt::format("{}.{}.{}", programVersionMajor, programVersionMinor, programVersionPatch);
    canvas.text(3, 7, fmt::format("Version {}", version), colors::lime);
    canvas.text(390, 7, programName, colors::lime);
    canvas.text(632, 7, makersNotice, colors::lime);
}

// The rows of the controls band, and the column of the window's options on the right.
void paintSeparators(Canvas& canvas) {
    canvas.line(0, 140, 880, 140, colors::black);
    for (const int y : {168, 196, 224, 252, 280}) {
        canvas.line(0, y, 642, y, colors::black);
    }
    canvas.line(0, 308, 880, 308, colors::black);
    canvas.line(642, 140, 642, 308, colors::black);
}

// A persistent error hides the message line until a restart.
void paintMessageBand(Canvas& canvas, const services::MessageLine::Texts& messages) {
    const bool error = !messages.error.empty();
    canvas.fill(messageBandFill, error ? colors::red : colors::lime);
    canvas.text(messageX, messageY, error ? messages.error : messages.message, colors::yellow);
}
}  // namespace

void paintWindow(Canvas& canvas, const status::DisplaySnapshot& display,
                 const services::MessageLine::Texts& messages,
                 const ControlEnabled& controlEnabled) {
    paintBands(canvas);
    paintTitle(canvas);
    paintSeparators(canvas);
    paintStatusBand(canvas, display);
    paintControlLabels(canvas, display, controlEnabled);
    paintParkingBand(canvas, display.parking);
    paintMessageBand(canvas, messages);
}

}  // namespace corv::ui
