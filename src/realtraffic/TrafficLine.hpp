#pragma once

#include <atomic>
#include <stdexcept>
#include <string_view>
#include <variant>
#include <vector>

#include "common/ModelCodeTable.hpp"
#include "realtraffic/CallsignCollection.hpp"
#include "realtraffic/TrafficContext.hpp"
#include "realtraffic/TrafficQueue.hpp"
#include "realtraffic/TrafficReport.hpp"

namespace corv::realtraffic {

// Why a traffic datagram was of no interest. Drops are silent; only faults are logged.
enum class Drop {
    GroundVehicle,
    OutOfRange,
    LongRegistration,
    NoType,
    Category,  // balloons, gliders and the like by their emitter category
    TypeList,  // too long, or one of the non-aircraft types
    SmallHexid,
    AirborneOnly,
    TestCallsign,
    NoIdentity,  // neither registration nor callsign
    GroundAwayFromPark,
};

// A datagram that cannot be read; the text is what the log shows.
class TrafficLineError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What the reader keeps across datagrams.
struct TrafficLineState {
    std::atomic<double> lastTimestamp{0.0};
    CallsignCollection callsigns;
    std::vector<std::string_view> fields;  // reused, so a datagram allocates nothing here
};

// Reads one traffic datagram into a report, or says why it is dropped. Throws
// TrafficLineError for a datagram that cannot be read (other exceptions of the code tables
// pass too). The state's last timestamp and callsigns change even for a dropped datagram.
std::variant<TrafficReport, Drop> parseTrafficLine(std::string_view datagram,
                                                   const TrafficContext& context,
                                                   TrafficLineState& state,
                                                   common::ModelCodeTable& models);

// What became of one datagram.
enum class LineFate { Queued, NotAccepting, Dropped, Faulty };

// parseTrafficLine, then the report into the queue; a fault is logged as
// "exception in processLineSub: {}" and costs only this datagram.
LineFate processLineSub(std::string_view datagram, const TrafficContext& context,
                        TrafficLineState& state, common::ModelCodeTable& models,
                        TrafficQueue& queue);

}  // namespace corv::realtraffic
