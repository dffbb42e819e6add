// libFuzzer target: any bytes as a traffic datagram and as a weather datagram. Neither may
// crash, read out of bounds or hang; the sanitizers watch.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/ModelCodeTable.hpp"
#include "realtraffic/QnhDatagram.hpp"
#include "realtraffic/TrafficLine.hpp"

namespace {
using namespace corv::realtraffic;

struct Reader {
    Reader() {
        queue.setAcceptingTraffic(true);
        context.inputs.reference = {47.40, 8.50};
        context.inputs.parkAirport = ParkAirport{{47.4647, 8.5492}, 1416.0};
    }
    corv::common::ModelCodeTable models;
    TrafficQueue queue{[] { return 0; }};
    TrafficLineState state;
    TrafficContext context;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Reader reader;
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    processLineSub(datagram, reader.context, reader.state, reader.models, reader.queue);
    reader.queue.clear();
    readQnhDatagram(datagram);
    return 0;
}
