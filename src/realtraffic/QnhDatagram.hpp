#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corv::realtraffic {

// What a weather datagram says about the QNH: a value in hectopascal within [900, 1100], or
// the log line that explains why it says nothing.
struct QnhReading {
    std::optional<std::int32_t> hectopascal;
    std::string logLine;
};

// Reads the key "QNH" of the JSON datagram. Values above 1100 are hundredths of an inch of
// mercury; text values are read as integers.
QnhReading readQnhDatagram(std::string_view datagram);

}  // namespace corv::realtraffic
