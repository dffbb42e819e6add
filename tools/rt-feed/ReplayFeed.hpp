#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "FeedOptions.hpp"
#include "PositionClient.hpp"
#include "Recording.hpp"

namespace corv::platform {
class UdpSender;
}

namespace corv::rtfeed {

// Plays a recording: each report at its own time, counted from the start of the replay or at
// the simulator's time, and only for aircraft within the radius of the user.
class ReplayFeed {
  public:
    ReplayFeed(std::vector<RecordedReport> recording, const Options& options);

    // Sends the reports that are due; how many datagrams it sent.
    std::size_t sendDue(const UserPosition& user, double simulatorNow,
                        platform::UdpSender& traffic);

  private:
    std::vector<RecordedReport> recording_;
    bool alignToSimulator_;
    double radiusNm_;
    std::size_t next_ = 0;
    std::optional<double> start_;  // the simulator second at which the replay began
};

}  // namespace corv::rtfeed
