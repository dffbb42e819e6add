#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "TrafficDatagram.hpp"

namespace corv::rtfeed {

// One line of a recording (RECORDING.md): a traffic report at its Unix time.
struct RecordedReport {
    double time = 0.0;
    TrafficState state;
};

// The reports of a recording file in time order. Throws std::runtime_error naming the file and
// line of the first fault.
std::vector<RecordedReport> readRecording(const std::string& path);

void writeRecordingHeader(std::ostream& out);
void writeRecordedReport(std::ostream& out, const RecordedReport& report);

// A traffic datagram as RealTraffic broadcasts it, as a recorded report; nothing when the
// datagram is no readable traffic record.
std::optional<RecordedReport> reportOfDatagram(const std::string& datagram);

}  // namespace corv::rtfeed
