#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "services/MessageLine.hpp"

namespace corv::data {

// Shows how far a download has come in the message line, a few times a second at most so a
// fast transfer does not flood the window with repaints.
class DownloadProgress {
  public:
    DownloadProgress(services::MessageLine& messages, std::string fileName);
    ~DownloadProgress();  // takes its last text back from the message line
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;

    // total is 0 while the size is not known.
    void update(std::int64_t received, std::int64_t total);

  private:
    static constexpr std::chrono::milliseconds interval{250};

    services::MessageLine& messages_;
    std::string fileName_;
    std::string shown_;
    std::chrono::steady_clock::time_point nextUpdate_{};
};

}  // namespace corv::data
