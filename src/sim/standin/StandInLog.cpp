#include "sim/standin/StandInLog.hpp"

#include <ctime>
#include <numbers>

#include <fmt/format.h>

#include "sim/standin/StandInCommon.hpp"

namespace corv::sim::standin {

StandInLog::StandInLog(const std::filesystem::path& file)
    : out_(file, std::ios::binary | std::ios::trunc) {}

void StandInLog::write(std::chrono::system_clock::time_point utc, std::string_view line) {
    if (!out_) return;  // a read-only installation folder leaves the world unlogged
    const std::tm parts = detail::utcParts(utc);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(utc.time_since_epoch()).count() %
        1000;
    out_ << fmt::format("{:02}:{:02}:{:02}.{:03} {}\n", parts.tm_hour, parts.tm_min, parts.tm_sec,
                        millis < 0 ? millis + 1000 : millis, line);
    out_.flush();
}

}  // namespace corv::sim::standin

namespace corv::sim::standin {

namespace {

// Titles and tail numbers are free text: quoted as CSV wants when they hold a comma or quote.
std::string csvText(std::string_view text) {
    if (text.find_first_of(",\"\n\r") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

}  // namespace

StandInTracks::StandInTracks(const std::filesystem::path& file)
    : out_(file, std::ios::binary | std::ios::trunc) {
    pending_ =
        "time,object,atc_id,title,latitude,longitude,altitude_ft,pitch_deg,bank_deg,heading_deg,"
        "on_ground\n";
    flush();
}

StandInTracks::~StandInTracks() {
    flush();
}

void StandInTracks::write(std::chrono::system_clock::time_point utc, const WorldObject& object,
                          bool onGround) {
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(utc.time_since_epoch()).count();
    pending_ += fmt::format("{}.{:03},{},{},{},{:.7f},{:.7f},{:.1f},{:.2f},{:.2f},{:.2f},{}\n",
                            millis / 1000, millis % 1000, object.id, csvText(object.tailNumber),
                            csvText(object.title), object.latitude, object.longitude,
                            object.altitudeFeet, degrees(object.pitch), degrees(object.bank),
                            degrees(object.heading), onGround ? 1 : 0);
}

void StandInTracks::flushIfDue(std::chrono::steady_clock::time_point now) {
    if (now - lastFlush_ < std::chrono::seconds(1)) return;
    lastFlush_ = now;
    flush();
}

void StandInTracks::flush() {
    if (pending_.empty()) return;
    if (out_) {  // a read-only installation folder leaves the tracks unwritten
        out_ << pending_;
        out_.flush();
    }
    pending_.clear();
}

}  // namespace corv::sim::standin
