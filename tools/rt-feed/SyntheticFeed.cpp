#include "SyntheticFeed.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/UdpSender.hpp"

namespace corv::rtfeed {

SyntheticFeed::SyntheticFeed(const UserPosition& user, const Options& options)
    : traffic_(user.latitude, user.longitude, std::max(0.0, user.altitude), options.seed),
      repeat_(options.repeat),
      malformedEvery_(options.malformedEvery),
      oversize_(options.oversize) {}

std::size_t SyntheticFeed::sendTick(long tick, double feedSeconds, double simulatorNow,
                                    platform::UdpSender& traffic) {
    const std::vector<TrafficState> states = traffic_.at(feedSeconds);
    std::size_t sent = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        if ((static_cast<std::size_t>(tick) + i) % 20 != 0) continue;
        std::string datagram = trafficDatagram(states[i], simulatorNow);
        ++datagramCount_;
        if (malformedEvery_ > 0 && datagramCount_ % malformedEvery_ == 0) {
            datagram = datagram.substr(0, datagram.size() / 3) + ",\xff\xfe,abc";
        }
        const int copies = repeat_ ? 2 : 1;
        for (int copy = 0; copy < copies; ++copy)
            traffic.send(datagram);
        sent += static_cast<std::size_t>(copies);
    }
    if (oversize_ && tick % 300 == 150) traffic.send(std::string(20000, 'X'));
    return sent;
}

}  // namespace corv::rtfeed
