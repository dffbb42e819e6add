#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

#include "PositionClient.hpp"

namespace corv::rtfeed {

// What rt-feed prints every 5 seconds: the connection, the position lines and datagrams per
// second, and the decoded user position.
class StatusReport {
  public:
    void countSent(std::size_t datagrams) { sent_ += datagrams; }
    // Prints when 5 seconds have passed since the last report.
    void printWhenDue(const PositionClient& link, const std::optional<UserPosition>& user);

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    std::size_t sent_ = 0;
    int lastPositionLines_ = 0;
};

}  // namespace corv::rtfeed
