#include "ReplayFeed.hpp"

#include "common/GreatCircle.hpp"
#include "platform/UdpSender.hpp"

namespace corv::rtfeed {

ReplayFeed::ReplayFeed(std::vector<RecordedReport> recording, const Options& options)
    : recording_(std::move(recording)),
      alignToSimulator_(options.alignToSimulator),
      radiusNm_(options.radiusNm) {}

std::size_t ReplayFeed::sendDue(const UserPosition& user, double simulatorNow,
                                platform::UdpSender& traffic) {
    if (recording_.empty()) return 0;
    if (!start_) start_ = simulatorNow;
    // The datagrams' timestamps say when they play.
    const double offset = alignToSimulator_ ? 0.0 : *start_ - recording_.front().time;
    std::size_t sent = 0;
    for (; next_ < recording_.size() && recording_[next_].time + offset <= simulatorNow; ++next_) {
        const RecordedReport& report = recording_[next_];
        const common::GeoPoint position{report.state.latitude, report.state.longitude};
        if (common::distanceNm({user.latitude, user.longitude}, position) > radiusNm_) continue;
        traffic.send(trafficDatagram(report.state, report.time + offset));
        ++sent;
    }
    return sent;
}

}  // namespace corv::rtfeed
