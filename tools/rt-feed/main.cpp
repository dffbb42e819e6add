// rt-feed: takes RealTraffic's place beside Corvane on a machine without it. It connects to the
// program's position server, answers the version request, reads where the user flies, and
// broadcasts traffic and weather datagrams around that position on loopback.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "PositionClient.hpp"
#include "Recording.hpp"
#include "SyntheticTraffic.hpp"
#include "TrafficDatagram.hpp"
#include "common/GreatCircle.hpp"
#include "platform/UdpReceiver.hpp"
#include "platform/UdpSender.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* usage =
    "usage: rt-feed [options]\n"
    "\n"
    "Stands in for RealTraffic: connects to Corvane's position server, answers its version\n"
    "request, reads the user position and broadcasts synthetic traffic around it on 127.0.0.1.\n"
    "\n"
    "  --host HOST          position server address (127.0.0.1)\n"
    "  --port PORT          position server port (10747)\n"
    "  --traffic-port PORT  traffic datagrams (49005)\n"
    "  --weather-port PORT  weather datagrams (49004)\n"
    "  --version TEXT       the version it reports (10.0.240)\n"
    "  --qnh HPA            the QNH it reports (1013.2)\n"
    "  --inhg               report the QNH in hundredths of inHg, as in the United States\n"
    "  --seed N             the random seed of the synthetic traffic (1)\n"
    "  --duration SECONDS   stop after this time (0: run until interrupted)\n"
    "recordings (see RECORDING.md):\n"
    "  --replay FILE        send the reports of a recording instead of synthetic traffic\n"
    "  --align start|sim    play from the start of the replay (start) or at the simulator's time\n"
    "  --radius NM          replay only aircraft this close to the user (100)\n"
    "  --record FILE        write the traffic datagrams received on the traffic port to a "
    "recording\n"
    "fault modes:\n"
    "  --repeat             send every traffic datagram twice\n"
    "  --malformed N        make every Nth traffic datagram malformed\n"
    "  --oversize           send one oversized datagram every 30 seconds\n"
    "  --drop-after SECONDS drop the position connection once after this time, back 5 s later\n";

struct Options {
    std::string host = "127.0.0.1";
    int port = 10747;
    int trafficPort = 49005;
    int weatherPort = 49004;
    std::string version = "10.0.240";
    double qnh = 1013.2;
    bool inHg = false;
    unsigned seed = 1;
    double duration = 0;
    bool repeat = false;
    int malformedEvery = 0;
    bool oversize = false;
    double dropAfter = 0;
    std::string replay;
    bool alignToSimulator = false;
    double radiusNm = 100.0;
    std::string record;
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(name + " needs a value");
            return argv[++i];
        };
        if (name == "--help" || name == "-h") return std::nullopt;
        if (name == "--host")
            options.host = value();
        else if (name == "--port")
            options.port = std::stoi(value());
        else if (name == "--traffic-port")
            options.trafficPort = std::stoi(value());
        else if (name == "--weather-port")
            options.weatherPort = std::stoi(value());
        else if (name == "--version")
            options.version = value();
        else if (name == "--qnh")
            options.qnh = std::stod(value());
        else if (name == "--inhg")
            options.inHg = true;
        else if (name == "--seed")
            options.seed = static_cast<unsigned>(std::stoul(value()));
        else if (name == "--duration")
            options.duration = std::stod(value());
        else if (name == "--repeat")
            options.repeat = true;
        else if (name == "--malformed")
            options.malformedEvery = std::stoi(value());
        else if (name == "--oversize")
            options.oversize = true;
        else if (name == "--drop-after")
            options.dropAfter = std::stod(value());
        else if (name == "--replay")
            options.replay = value();
        else if (name == "--align") {
            const std::string align = value();
            if (align != "start" && align != "sim")
                throw std::invalid_argument("--align is start or sim");
            options.alignToSimulator = align == "sim";
        } else if (name == "--radius")
            options.radiusNm = std::stod(value());
        else if (name == "--record")
            options.record = value();
        else
            throw std::invalid_argument("unknown option " + name);
    }
    return options;
}

// Writes what a real RealTraffic broadcasts into a recording, until the duration ends.
int record(const Options& options) {
    using namespace corv;
    platform::UdpReceiver receiver;
    if (receiver.open("", options.trafficPort, std::chrono::milliseconds(1000))) {
        std::fprintf(stderr, "rt-feed: cannot listen on UDP port %d\n", options.trafficPort);
        return 1;
    }
    std::ofstream out(options.record);
    if (!out) {
        std::fprintf(stderr, "rt-feed: cannot write %s\n", options.record.c_str());
        return 1;
    }
    out << "# recorded by rt-feed from UDP port " << options.trafficPort << "\n";
    rtfeed::writeRecordingHeader(out);
    std::printf("rt-feed: recording the traffic on UDP port %d into %s\n", options.trafficPort,
                options.record.c_str());
    const Clock::time_point started = Clock::now();
    Clock::time_point lastReport = started;
    long written = 0;
    std::vector<char> buffer(65536);
    while (options.duration <= 0 ||
           Clock::now() - started < std::chrono::duration<double>(options.duration)) {
        int error = 0;
        const long received = receiver.receive(buffer.data(), buffer.size(), error);
        if (received > 0 && static_cast<std::size_t>(received) <= buffer.size()) {
            const std::string datagram(buffer.data(), static_cast<std::size_t>(received));
            if (const auto report = rtfeed::reportOfDatagram(datagram)) {
                rtfeed::writeRecordedReport(out, *report);
                ++written;
            }
        }
        if (Clock::now() - lastReport >= 5s) {
            std::printf("rt-feed: %ld reports recorded\n", written);
            out.flush();
            lastReport = Clock::now();
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corv::rtfeed;
    Options options;
    try {
        const auto parsed = parse(argc, argv);
        if (!parsed) {
            std::fputs(usage, stdout);
            return 0;
        }
        options = *parsed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rt-feed: %s\n%s", e.what(), usage);
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!options.record.empty()) return record(options);

    std::vector<RecordedReport> recording;
    if (!options.replay.empty()) {
        try {
            recording = readRecording(options.replay);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "rt-feed: %s\n", e.what());
            return 1;
        }
        std::printf("rt-feed: replaying %zu reports of %s\n", recording.size(),
                    options.replay.c_str());
    }
    std::size_t nextRecorded = 0;
    std::optional<double> replayStart;  // the simulator second at which the replay began

    corv::platform::UdpSender traffic("127.0.0.1", options.trafficPort);
    corv::platform::UdpSender weather("127.0.0.1", options.weatherPort);
    if (!traffic.isOpen() || !weather.isOpen()) {
        std::fprintf(stderr, "rt-feed: cannot open the UDP sockets\n");
        return 1;
    }
    PositionClient link(options.host, options.port, options.version);
    std::printf("rt-feed: waiting for the position server at %s:%d\n", options.host.c_str(),
                options.port);

    std::optional<SyntheticTraffic> synthetic;
    const Clock::time_point started = Clock::now();
    Clock::time_point lastReport = started;
    bool dropped = false;
    long sent = 0;
    long datagramCount = 0;
    int lastPositionLines = 0;
    for (long tick = 0;; ++tick) {
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        if (options.duration > 0 && seconds >= options.duration) break;
        if (options.dropAfter > 0 && !dropped && seconds >= options.dropAfter && link.connected()) {
            std::printf("rt-feed: dropping the position connection for 5 s\n");
            link.dropConnection(5);
            dropped = true;
        }
        const auto user = link.position();
        if (user && !recording.empty()) {
            // Reports play at their own time, counted from the replay's start or at the
            // simulator's time; their timestamps say when they play.
            const double simulatorNow = link.simulatorSecondsNow();
            if (!replayStart) replayStart = simulatorNow;
            const double offset =
                options.alignToSimulator ? 0.0 : *replayStart - recording.front().time;
            for (; nextRecorded < recording.size() &&
                   recording[nextRecorded].time + offset <= simulatorNow;
                 ++nextRecorded) {
                const RecordedReport& report = recording[nextRecorded];
                const corv::common::GeoPoint position{report.state.latitude,
                                                      report.state.longitude};
                if (corv::common::distanceNm({user->latitude, user->longitude}, position) >
                    options.radiusNm)
                    continue;
                traffic.send(trafficDatagram(report.state, report.time + offset));
                ++sent;
            }
            if (tick % 100 == 0) weather.send(weatherDatagram(options.qnh, options.inHg));
        }
        if (user && !synthetic && recording.empty()) {
            synthetic.emplace(user->latitude, user->longitude, std::max(0.0, user->altitude),
                              options.seed);
            std::printf("rt-feed: traffic around %.4f, %.4f\n", user->latitude, user->longitude);
        }
        const double simSeconds = link.simulatorSecondsNow();
        if (synthetic) {
            const std::vector<TrafficState> states = synthetic->at(seconds);
            // Every aircraft about every two seconds, spread over the ticks.
            for (std::size_t i = 0; i < states.size(); ++i) {
                if ((static_cast<std::size_t>(tick) + i) % 20 != 0) continue;
                std::string datagram = trafficDatagram(states[i], simSeconds);
                ++datagramCount;
                if (options.malformedEvery > 0 && datagramCount % options.malformedEvery == 0) {
                    datagram = datagram.substr(0, datagram.size() / 3) + ",\xff\xfe,abc";
                }
                traffic.send(datagram);
                ++sent;
                if (options.repeat) {
                    traffic.send(datagram);
                    ++sent;
                }
            }
            if (tick % 100 == 0) weather.send(weatherDatagram(options.qnh, options.inHg));
            if (options.oversize && tick % 300 == 150) traffic.send(std::string(20000, 'X'));
        }
        if (Clock::now() - lastReport >= 5s) {
            const int lines = link.positionLines();
            std::printf("rt-feed: %s, %.1f position lines/s, %.1f datagrams/s",
                        link.connected() ? "connected" : "not connected",
                        (lines - lastPositionLines) / 5.0, sent / 5.0);
            if (user)
                std::printf(", user at %.5f, %.5f, %.0f ft, %.0f kt", user->latitude,
                            user->longitude, user->altitude, user->groundSpeed);
            std::printf("\n");
            lastPositionLines = lines;
            sent = 0;
            lastReport = Clock::now();
        }
        std::this_thread::sleep_until(started + std::chrono::milliseconds(100 * (tick + 1)));
    }
    return 0;
}
