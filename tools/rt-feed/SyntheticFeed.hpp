#pragma once

#include <cstddef>

#include "FeedOptions.hpp"
#include "PositionClient.hpp"
#include "SyntheticTraffic.hpp"

namespace corv::platform {
class UdpSender;
}

namespace corv::rtfeed {

// Synthetic traffic around where the user first was, sent with the fault modes of the options
// (repeated, malformed and oversized datagrams).
class SyntheticFeed {
  public:
    SyntheticFeed(const UserPosition& user, const Options& options);

    // Sends this 100 ms tick's share: every aircraft about every two seconds, spread over the
    // ticks. How many datagrams it sent.
    std::size_t sendTick(long tick, double feedSeconds, double simulatorNow,
                         platform::UdpSender& traffic);

  private:
    SyntheticTraffic traffic_;
    bool repeat_;
    int malformedEvery_;
    bool oversize_;
    long datagramCount_ = 0;
};

}  // namespace corv::rtfeed
