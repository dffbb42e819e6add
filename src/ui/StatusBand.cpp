#include "ui/StatusBand.hpp"

#include <fmt/format.h>

namespace corv::ui {

namespace {
constexpr int receiverFlowing = 1;
constexpr int receiverWithoutNewData = 2;

// Lime only when the flight runs with a known user aircraft.
Color simulatorColor(const status::DisplaySnapshot& display) {
    if (!display.simConnected) return colors::red;
    return display.simRunning && !display.userTitle.empty() ? colors::lime : colors::yellow;
}

// The RealTraffic colour while connected.
Color realTrafficStateColor(const status::DisplaySnapshot& display) {
    return display.trafficStatus == receiverFlowing ? colors::lime : colors::yellow;
}

// Black while the run has not yet begun to wait for RealTraffic.
Color realTrafficBoxColor(const status::DisplaySnapshot& display) {
    if (display.rtSetup) return colors::black;
    return display.rtConnected ? realTrafficStateColor(display) : colors::red;
}

bool reportsData(int status) {
    return status == receiverFlowing || status == receiverWithoutNewData;
}

void paintBoxes(Canvas& canvas, const status::DisplaySnapshot& display) {
    canvas.fill({397, 30, 426, 113}, simulatorColor(display));
    canvas.text(398, 63, "Sim", colors::lime);
    canvas.fill({425, 30, 454, 113}, realTrafficBoxColor(display));
    canvas.text(430, 63, "RT", colors::lime);
    canvas.line(425, 29, 425, 112, colors::black);
}

void paintRealTraffic(Canvas& canvas, const status::DisplaySnapshot& display) {
    if (!display.rtConnected) return;
    canvas.text(458, 35, display.rtVersionText, realTrafficStateColor(display));
    const auto receiver = [&](int y, std::string_view name, int status) {
        if (status == status::receiverStopped) return;
        canvas.text(458, y, name, status == receiverFlowing ? colors::lime : colors::yellow);
    };
    receiver(63, "Weather", display.weatherStatus);
    receiver(91, "Traffic", display.trafficStatus);

    if (reportsData(display.weatherStatus) && display.qnhHectopascal > 0) {
        canvas.text(642, 63, fmt::format("qnh: {:4}", display.qnhHectopascal), colors::lime);
    }
    if (reportsData(display.trafficStatus)) {
        canvas.text(642, 91, fmt::format("live: {:3}", display.liveCount), colors::lime);
    }
}

void paintSimulator(Canvas& canvas, const status::DisplaySnapshot& display) {
    if (!display.simConnected) return;
    const Color color = simulatorColor(display);
    std::string simulator = display.simDisplayText;
    if (!display.userStand.empty()) simulator += ", user stand " + display.userStand;
    canvas.text(5, 35, simulator, color);
    // Yellow: the largest half wingspan stands in for the unknown one of the user's type.
    canvas.text(5, 63, display.userTitle, display.userWingspanFound ? color : colors::yellow);
}

void paintCounts(Canvas& canvas, const status::DisplaySnapshot& display) {
    if (display.liveryCount == 0) {
        canvas.text(5, 91, "# liveries: ...", colors::red);
    } else {
        canvas.text(5, 91, fmt::format("# liveries: {}", display.liveryCount), colors::lime);
    }
    const auto airports = [&](int x, std::string_view name, int count) {
        if (count == 0) {
            canvas.text(x, 91, fmt::format("{}: ...", name), colors::yellow);
        } else {
            canvas.text(x, 91, fmt::format("{}: {}", name, count), colors::lime);
        }
    };
    airports(141, "# simaddon", display.simaddonCount);
    airports(278, "# thirdp", display.thirdpartyCount);
}
}  // namespace

void paintStatusBand(Canvas& canvas, const status::DisplaySnapshot& display) {
    paintBoxes(canvas, display);
    paintRealTraffic(canvas, display);
    paintSimulator(canvas, display);
    paintCounts(canvas, display);
}

}  // namespace corv::ui
