#include "StatusReport.hpp"

#include <cstdio>

namespace corv::rtfeed {

void StatusReport::printWhenDue(const PositionClient& link,
                                const std::optional<UserPosition>& user) {
    using namespace std::chrono_literals;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < 5s) return;
    const int lines = link.positionLines();
    std::printf("rt-feed: %s, %.1f position lines/s, %.1f datagrams/s",
                link.connected() ? "connected" : "not connected",
                (lines - lastPositionLines_) / 5.0, static_cast<double>(sent_) / 5.0);
    if (user) {
        std::printf(", user at %.5f, %.5f, %.0f ft, %.0f kt", user->latitude, user->longitude,
                    user->altitude, user->groundSpeed);
    }
    std::printf("\n");
    lastPositionLines_ = lines;
    sent_ = 0;
    last_ = now;
}

}  // namespace corv::rtfeed
