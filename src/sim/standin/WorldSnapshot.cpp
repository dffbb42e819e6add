#include "sim/standin/WorldSnapshot.hpp"

#include <cmath>
#include <ctime>
#include <numbers>
#include <utility>

#include <fmt/format.h>

#include "sim/standin/StandInCommon.hpp"

namespace corv::sim::standin {

namespace {

constexpr double picturePixels = 800.0;

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

std::string isoTime(std::chrono::system_clock::time_point utc) {
    const std::tm parts = detail::utcParts(utc);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}Z", parts.tm_year + 1900,
                       parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

nlohmann::json lightsJson(std::uint32_t mask) {
    return {{"mask", mask},
            {"nav", (mask & light::nav) != 0},
            {"beacon", (mask & light::beacon) != 0},
            {"landing", (mask & light::landing) != 0},
            {"taxi", (mask & light::taxi) != 0},
            {"strobe", (mask & light::strobe) != 0},
            {"logo", (mask & light::logo) != 0},
            {"cabin", (mask & light::cabin) != 0}};
}

std::string escapeXml(const std::string& text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            case '&':
                result += "&amp;";
                break;
            case '"':
                result += "&quot;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

constexpr const char* groundColour = "#8c564b";
constexpr const char* airColour = "#1f77b4";

// Where a place lies in the picture; a flat map is close enough over a few miles.
struct PictureFrame {
    double userLatitude;
    double userLongitude;
    double cosLatitude;
    double pixelsPerNm;

    std::pair<double, double> eastNorthNm(double latitude, double longitude) const {
        return {(longitude - userLongitude) * 60.0 * cosLatitude, (latitude - userLatitude) * 60.0};
    }
    std::pair<double, double> pixels(double latitude, double longitude) const {
        const auto [east, north] = eastNorthNm(latitude, longitude);
        return {picturePixels / 2.0 + east * pixelsPerNm,
                picturePixels / 2.0 - north * pixelsPerNm};
    }
};

// The object's way to where it is now, one line for each stretch on the ground or in the air.
std::string trailLines(const WorldObject& object, bool onGroundNow, const PictureFrame& frame) {
    std::vector<TrailPoint> points = object.trail;
    points.push_back({object.latitude, object.longitude, onGroundNow});
    std::string lines;
    std::size_t begin = 0;
    while (begin + 1 < points.size()) {
        std::size_t end = begin + 1;
        while (end + 1 < points.size() && points[end].onGround == points[begin].onGround)
            ++end;
        std::string corners;
        for (std::size_t i = begin; i <= end; ++i) {
            const auto [x, y] = frame.pixels(points[i].latitude, points[i].longitude);
            corners += fmt::format("{}{:.1f},{:.1f}", corners.empty() ? "" : " ", x, y);
        }
        lines += fmt::format(
            "<polyline points=\"{}\" fill=\"none\" stroke=\"{}\" stroke-width=\"1.2\" "
            "stroke-opacity=\"0.5\"/>\n",
            corners, points[begin].onGround ? groundColour : airColour);
        begin = end;
    }
    return lines;
}

}  // namespace

nlohmann::json worldJson(const std::vector<SnapshotEntry>& entries,
                         std::chrono::system_clock::time_point utc) {
    nlohmann::json objects = nlohmann::json::array();
    for (const auto& [object, ground] : entries) {
        objects.push_back({{"id", object->id},
                           {"user", object->isUser},
                           {"title", object->title},
                           {"atcModel", object->atcModel},
                           {"tailNumber", object->tailNumber},
                           {"latitude", object->latitude},
                           {"longitude", object->longitude},
                           {"altitude", object->altitudeFeet},
                           {"altitudeAboveGround", altitudeAboveGround(*object, ground)},
                           {"heading", degrees(object->heading)},
                           {"groundSpeed", object->groundSpeedKnots},
                           {"onGround", isOnGround(*object, ground)},
                           {"lights", lightsJson(object->lights)},
                           {"gearDown", object->gearDown},
                           {"flaps", object->flapsPercent},
                           {"spoilers", object->spoilersPercent},
                           {"enginesRunning", object->enginesRunning},
                           {"aiControlled", object->aiControlled},
                           {"frozen",
                            {{"latitudeLongitude", object->frozenLatLon},
                             {"altitude", object->frozenAltitude},
                             {"attitude", object->frozenAttitude}}},
                           {"departure", object->departure},
                           {"destination", object->destination}});
    }
    return {{"utc", isoTime(utc)}, {"objects", std::move(objects)}};
}

std::string worldSvg(const std::vector<SnapshotEntry>& entries, const WorldObject& user,
                     double radiusNm) {
    const PictureFrame frame{user.latitude, user.longitude,
                             std::cos(user.latitude * std::numbers::pi / 180.0),
                             picturePixels / (2.0 * radiusNm)};
    std::string svg = fmt::format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{0}\" "
        "viewBox=\"0 0 {0} {0}\">\n<rect width=\"{0}\" height=\"{0}\" fill=\"#f4f1e8\"/>\n"
        "<circle cx=\"{1}\" cy=\"{1}\" r=\"{1}\" fill=\"none\" stroke=\"#ccc\"/>\n"
        "<text x=\"8\" y=\"18\" font-family=\"sans-serif\" font-size=\"13\">{2:.4f} {3:.4f}, "
        "{4} nm around the user</text>\n",
        picturePixels, picturePixels / 2.0, user.latitude, user.longitude, radiusNm);
    for (const auto& [object, ground] : entries) {
        if (!object->isUser) svg += trailLines(*object, isOnGround(*object, ground), frame);
    }
    for (const auto& [object, ground] : entries) {
        const auto [eastNm, northNm] = frame.eastNorthNm(object->latitude, object->longitude);
        if (std::abs(eastNm) > radiusNm || std::abs(northNm) > radiusNm) continue;
        const auto [x, y] = frame.pixels(object->latitude, object->longitude);
        const char* colour =
            object->isUser ? "#d62728" : (isOnGround(*object, ground) ? groundColour : airColour);
        svg += fmt::format(
            "<g transform=\"translate({:.1f},{:.1f}) rotate({:.1f})\"><polygon "
            "points=\"0,-9 6,7 0,3 -6,7\" fill=\"{}\"/></g>\n",
            x, y, degrees(object->heading), colour);
        if (object->lights != 0) {
            svg += fmt::format("<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"2.5\" fill=\"#ffd700\"/>\n",
                               x, y);
        }
        svg += fmt::format(
            "<text x=\"{:.1f}\" y=\"{:.1f}\" font-family=\"sans-serif\" "
            "font-size=\"10\">{}</text>\n",
            x + 9, y + 4, escapeXml(object->tailNumber));
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace corv::sim::standin
