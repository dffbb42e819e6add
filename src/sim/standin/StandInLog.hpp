#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace corv::sim::standin {

// The stand-in simulator's own log: one line per thing that happened in its world, stamped with
// its UTC time, flushed at once so that a test or a person can follow it live.
class StandInLog {
  public:
    explicit StandInLog(const std::filesystem::path& file);

    void write(std::chrono::system_clock::time_point utc, std::string_view line);

  private:
    std::ofstream out_;
};

inline constexpr const char* standInLogFileName = "standin.log";

}  // namespace corv::sim::standin
