#include "RecordMode.hpp"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Recording.hpp"
#include "platform/UdpReceiver.hpp"

namespace corv::rtfeed {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

int recordTraffic(const Options& options) {
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
    writeRecordingHeader(out);
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
            if (const auto report = reportOfDatagram(datagram)) {
                writeRecordedReport(out, *report);
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

}  // namespace corv::rtfeed
