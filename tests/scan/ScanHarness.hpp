#pragma once

#include <set>
#include <string>
#include <vector>

#include "scan/BglAirportFile.hpp"
#include "scan/BglBuilder.hpp"

namespace corv::test {

// Runs the processing of a scenery file's bytes with a catalogue of a few airports and keeps
// what would be written.
struct Decoded {
    std::vector<scan::ScannedAirport> airports;
    std::vector<int> helipads;
    scan::ScanMessages messages;
};

inline scan::AirportScanSteps recordingSteps(Decoded& out) {
    static const std::set<std::string, std::less<>> catalogue{"EHAM", "EGLL", "KTST"};
    return {
        [](const common::FixedCode<4>& code) { return catalogue.contains(code.view()); },
        [](scan::ScannedAirport&) { return false; },
        [&out](scan::ScannedAirport& airport, int helipads) {
            out.airports.push_back(airport);
            out.helipads.push_back(helipads);
        },
    };
}

inline Decoded decodeBytes(const Bytes& bytes) {
    Decoded out;
    scan::processBglBytes(bytes, "test.bgl", out.messages, recordingSteps(out));
    return out;
}

inline Bytes oneAirport(const std::vector<Bytes>& subrecords, bool extended = false,
                        std::int32_t altitudeMillimetres = 0, std::string_view ident = "EHAM") {
    return bglFile({Section{3, 0, {airportRecord(ident, extended, altitudeMillimetres, subrecords)}}});
}

inline std::vector<std::string> standIds(const scan::ScannedAirport& airport) {
    std::vector<std::string> ids;
    for (const auto& stand : airport.stands) ids.push_back(stand.id);
    return ids;
}

}  // namespace corv::test
