#include "FeedOptions.hpp"

#include <stdexcept>

namespace corv::rtfeed {

namespace {

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
    "  --data DIR           runways.csv and stands/ICAO.xml of the airports whose arrivals and\n"
    "                       departures use real runways and stands (tools-data beside rt-feed)\n"
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

}  // namespace

const char* usageText() {
    return usage;
}

std::optional<Options> parseOptions(int argc, char** argv) {
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
        else if (name == "--data")
            options.dataFolder = value();
        else if (name == "--record")
            options.record = value();
        else
            throw std::invalid_argument("unknown option " + name);
    }
    return options;
}

}  // namespace corv::rtfeed
