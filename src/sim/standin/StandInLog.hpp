#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "sim/standin/WorldObject.hpp"

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

// What the AI objects were told, one CSV line per position update applied, for measuring how
// closely they follow the real aircraft. Updates come many times a second for every object, so
// lines wait in memory and go to disk about once a second and when the owner flushes.
class StandInTracks {
  public:
    explicit StandInTracks(const std::filesystem::path& file);
    ~StandInTracks();
    StandInTracks(const StandInTracks&) = delete;
    StandInTracks& operator=(const StandInTracks&) = delete;

    void write(std::chrono::system_clock::time_point utc, const WorldObject& object, bool onGround);
    // Writes out what waits once a second has passed since the last write-out.
    void flushIfDue(std::chrono::steady_clock::time_point now);
    void flush();

  private:
    std::ofstream out_;
    std::string pending_;
    std::chrono::steady_clock::time_point lastFlush_{};
};

inline constexpr const char* standInTracksFileName = "standin-tracks.csv";

}  // namespace corv::sim::standin
