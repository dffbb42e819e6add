// rt-feed: takes RealTraffic's place beside Corvane on a machine without it. It connects to the
// program's position server, answers the version request, reads where the user flies, and
// broadcasts traffic and weather datagrams around that position on loopback.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "FeedOptions.hpp"
#include "PositionClient.hpp"
#include "RecordMode.hpp"
#include "ReplayFeed.hpp"
#include "StatusReport.hpp"
#include "SyntheticFeed.hpp"
#include "TrafficDatagram.hpp"
#include "platform/UdpSender.hpp"

namespace {
// tools-data in the folder rt-feed is installed in.
std::filesystem::path defaultDataFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = argv0;
    return program.parent_path() / "tools-data";
}
}  // namespace

int main(int argc, char** argv) {
    using namespace corv::rtfeed;
    using Clock = std::chrono::steady_clock;
    Options options;
    try {
        const auto parsed = parseOptions(argc, argv);
        if (!parsed) {
            std::fputs(usageText(), stdout);
            return 0;
        }
        options = *parsed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rt-feed: %s\n%s", e.what(), usageText());
        return 2;
    }
    if (options.dataFolder.empty()) options.dataFolder = defaultDataFolder(argv[0]).string();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!options.record.empty()) return recordTraffic(options);

    std::optional<ReplayFeed> replay;
    if (!options.replay.empty()) {
        try {
            std::vector<RecordedReport> recording = readRecording(options.replay);
            std::printf("rt-feed: replaying %zu reports of %s\n", recording.size(),
                        options.replay.c_str());
            replay.emplace(std::move(recording), options);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "rt-feed: %s\n", e.what());
            return 1;
        }
    }

    corv::platform::UdpSender traffic("127.0.0.1", options.trafficPort);
    corv::platform::UdpSender weather("127.0.0.1", options.weatherPort);
    if (!traffic.isOpen() || !weather.isOpen()) {
        std::fprintf(stderr, "rt-feed: cannot open the UDP sockets\n");
        return 1;
    }
    PositionClient link(options.host, options.port, options.version);
    std::printf("rt-feed: waiting for the position server at %s:%d\n", options.host.c_str(),
                options.port);

    std::optional<SyntheticFeed> synthetic;
    StatusReport status;
    const Clock::time_point started = Clock::now();
    bool dropped = false;
    for (long tick = 0;; ++tick) {
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        if (options.duration > 0 && seconds >= options.duration) break;
        if (options.dropAfter > 0 && !dropped && seconds >= options.dropAfter && link.connected()) {
            std::printf("rt-feed: dropping the position connection for 5 s\n");
            link.dropConnection(5);
            dropped = true;
        }
        const auto user = link.position();
        if (user && !replay && !synthetic) {
            synthetic.emplace(*user, options);
            std::printf("rt-feed: traffic around %.4f, %.4f\n", user->latitude, user->longitude);
        }
        // The traffic starts once the program has said where its user is.
        if (user && (replay || synthetic)) {
            const double simulatorNow = link.simulatorSecondsNow();
            status.countSent(replay ? replay->sendDue(*user, simulatorNow, traffic)
                                    : synthetic->sendTick(tick, seconds, simulatorNow, traffic));
            if (tick % 100 == 0) weather.send(weatherDatagram(options.qnh, options.inHg));
        }
        status.printWhenDue(link, user);
        std::this_thread::sleep_until(started + std::chrono::milliseconds(100 * (tick + 1)));
    }
    return 0;
}
