#include "Recording.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fmt/format.h>

namespace corv::rtfeed {

namespace {
constexpr const char* header =
    "time,hexid,lat,lon,alt,vs,track,gs,callsign,type,registration,origin,destination,category,"
    "ground";

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::stringstream stream(line);
    while (std::getline(stream, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

double numberOr(const std::string& text, double fallback) {
    if (text.empty() || text == "null") return fallback;
    return std::stod(text);
}

std::string textOrNull(const std::string& text) {
    return text.empty() ? "null" : text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
}
}  // namespace

std::vector<RecordedReport> readRecording(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<RecordedReport> reports;
    std::string line;
    bool headerSeen = false;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!headerSeen) {
            if (line != header)
                throw std::runtime_error(
                    fmt::format("{}:{}: expected the header '{}'", path, number, header));
            headerSeen = true;
            continue;
        }
        const std::vector<std::string> f = split(line);
        if (f.size() != 15)
            throw std::runtime_error(
                fmt::format("{}:{}: {} columns instead of 15", path, number, f.size()));
        try {
            RecordedReport report;
            report.time = std::stod(f[0]);
            TrafficState& s = report.state;
            s.hexid = static_cast<std::uint32_t>(std::stoul(f[1]));
            s.latitude = std::stod(f[2]);
            s.longitude = std::stod(f[3]);
            s.altitude = numberOr(f[4], 0.0);
            s.verticalRate = numberOr(f[5], 0.0);
            s.track = numberOr(f[6], 0.0);
            s.groundSpeed = numberOr(f[7], 0.0);
            s.callsign = f[8];
            s.type = f[9];
            s.registration = f[10];
            s.origin = textOrNull(f[11]);
            s.destination = textOrNull(f[12]);
            s.category = f[13].empty() ? "A3" : f[13];
            s.onGround = f[14] == "1";
            reports.push_back(std::move(report));
        } catch (const std::logic_error&) {
            throw std::runtime_error(fmt::format("{}:{}: a number cannot be read", path, number));
        }
    }
    std::stable_sort(
        reports.begin(), reports.end(),
        [](const RecordedReport& a, const RecordedReport& b) { return a.time < b.time; });
    return reports;
}

void writeRecordingHeader(std::ostream& out) {
    out << header << '\n';
}

void writeRecordedReport(std::ostream& out, const RecordedReport& r) {
    const TrafficState& s = r.state;
    const auto code = [](const std::string& text) { return text == "null" ? std::string() : text; };
    out << fmt::format("{:.2f},{},{:.6f},{:.6f},{:.0f},{:.0f},{:.1f},{:.1f},{},{},{},{},{},{},{}\n",
                       r.time, s.hexid, s.latitude, s.longitude, s.altitude, s.verticalRate,
                       s.track, s.groundSpeed, s.callsign, s.type, s.registration, code(s.origin),
                       code(s.destination), s.category, s.onGround ? 1 : 0);
}

std::optional<RecordedReport> reportOfDatagram(const std::string& datagram) {
    const std::vector<std::string> f = split(datagram);
    if (f.size() < 29 || f[0] != "RTTFC") return std::nullopt;
    try {
        RecordedReport report;
        report.time = std::stod(f[14]);
        TrafficState& s = report.state;
        s.hexid = static_cast<std::uint32_t>(std::stoul(f[1]));
        s.latitude = std::stod(f[2]);
        s.longitude = std::stod(f[3]);
        s.altitude = numberOr(f[4], 0.0);
        s.verticalRate = numberOr(f[5], 0.0);
        s.track = numberOr(f[7], 0.0);
        s.groundSpeed = numberOr(f[8], 0.0);
        const auto text = [](const std::string& field) {
            return field == "null" ? std::string() : trimmed(field);
        };
        s.callsign = text(f[9]);
        s.type = text(f[10]);
        s.registration = text(f[11]);
        s.origin = textOrNull(text(f[12]));
        s.destination = textOrNull(text(f[13]));
        s.category = text(f[28]);
        s.onGround = s.altitude <= 0;
        return report;
    } catch (const std::logic_error&) {
        return std::nullopt;
    }
}

}  // namespace corv::rtfeed
