#include "ui/ParkingBand.hpp"

#include <fmt/format.h>

namespace corv::ui {

namespace {
constexpr int firstLine = 399;
constexpr int secondLine = 427;

std::string_view modeMarkers(const status::ParkingDisplay& parking) {
    if (parking.weekInEffect && parking.softInEffect) return "*WS*";
    if (parking.softInEffect) return "*S*";
    if (parking.weekInEffect) return "*W*";
    return "";
}

void paintAirportLine(Canvas& canvas, const status::ParkingDisplay& parking) {
    canvas.text(45, firstLine,
                fmt::format(" {}, {}{}, wk={}", parking.airportName, parking.publisher,
                            parking.handmade ? " (h)" : "", parking.rtTrafficWeek),
                colors::lime);
    if (const std::string_view markers = modeMarkers(parking); !markers.empty()) {
        canvas.text(370, firstLine, markers, colors::lime);
    }
    canvas.text(430, firstLine, fmt::format("qf: {}", parking.qualityFactor), colors::lime);
    if (!parking.reservedStand.empty()) {
        // Red: the reserved stand names no stand of this airport.
        canvas.text(571, firstLine, fmt::format("reserved stand: {}", parking.reservedStand),
                    parking.reservedStandKnown ? colors::lime : colors::red);
    }
    canvas.text(748, firstLine, fmt::format("# updates: {:4}", parking.updates), colors::lime);
}

void paintAircraftLine(Canvas& canvas, const status::ParkingDisplay& parking) {
    canvas.text(5, secondLine, fmt::format("# stands: {:3}", parking.stands), colors::lime);
    canvas.text(111, secondLine, fmt::format("parked live: {:3}", parking.parkedLive),
                colors::lime);
    if (parking.averageParkedHours > 0) {
        canvas.text(249, secondLine, fmt::format("average fit: {}", parking.averageParkedHours),
                    colors::lime);
    }
    if (parking.wantedStaticCount > 0) {
        canvas.text(430, secondLine, fmt::format("static: {:3}", parking.staticInSim),
                    colors::lime);
        if (parking.staticQueued > 0) {
            canvas.text(500, secondLine, fmt::format(" ({})", parking.staticQueued),
                        colors::yellow);
        }
        if (!parking.weekInEffect && parking.staticAverageFit > 0) {
            canvas.text(571, secondLine, fmt::format("average fit: {}", parking.staticAverageFit),
                        colors::lime);
        }
    }
    if (parking.wantedStaticCount == 0) {
        canvas.text(708, secondLine, "no max park live", colors::lime);
    } else {
        canvas.text(708, secondLine,
                    fmt::format("max park: {:3} (={} %)", parking.wantedStaticCount,
                                parking.wantedPercentage),
                    colors::lime);
    }
}
}  // namespace

void paintParkingBand(Canvas& canvas, const status::ParkingDisplay& parking) {
    if (!parking.airportSet) return;
    canvas.text(5, firstLine, parking.code,
                parking.readWithoutError ? colors::lime : colors::yellow);
    // The figures mean nothing when the stand data could not be read.
    if (!parking.readWithoutError) return;
    paintAirportLine(canvas, parking);
    paintAircraftLine(canvas, parking);
}

}  // namespace corv::ui
