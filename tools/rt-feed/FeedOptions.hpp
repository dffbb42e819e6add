#pragma once

#include <optional>
#include <string>

namespace corv::rtfeed {

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
    std::string dataFolder;  // runways.csv and stands/ICAO.xml; empty: tools-data beside rt-feed
};

// The options of the command line; nothing when help was asked for. Throws
// std::invalid_argument naming a wrong option.
std::optional<Options> parseOptions(int argc, char** argv);

// The help text.
const char* usageText();

}  // namespace corv::rtfeed
