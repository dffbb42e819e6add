#include "sim/standin/StandInLog.hpp"

#include <ctime>

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
