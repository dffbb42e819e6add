#include "SyntheticFeed.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/UdpSender.hpp"

namespace corv::rtfeed {

namespace {
// The airport's runways and stands, or nothing with a line on stderr: the traffic then uses a
// made-up runway.
std::optional<AirportLayout> layoutAround(const UserPosition& user, const Options& options) {
    const std::filesystem::path folder = options.dataFolder;
    std::string problem;
    auto layout = loadAirportLayout(folder / "runways.csv", folder / "stands",
                                    {user.latitude, user.longitude}, problem);
    if (layout)
        std::printf("rt-feed: %zu runways and %zu stands of %s\n", layout->runways.size(),
                    layout->stands.size(), layout->icao.c_str());
    else
        std::fprintf(stderr, "rt-feed: made-up runway, no airport data: %s\n", problem.c_str());
    return layout;
}
}  // namespace

SyntheticFeed::SyntheticFeed(const UserPosition& user, const Options& options)
    : traffic_(user.latitude, user.longitude, std::max(0.0, user.altitude), options.seed,
               layoutAround(user, options)),
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
