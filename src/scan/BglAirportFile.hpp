#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/FixedCode.hpp"
#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// What the scan does with the airports a scenery file holds; decoding stays apart from the
// catalogue check and from writing.
struct AirportScanSteps {
    std::function<bool(const common::FixedCode<4>&)> isRtSupported;
    // True when it linked the airport to an archived airport file: then it is not decoded.
    std::function<bool(ScannedAirport&)> linkToArchive;
    // Receives every decoded airport with its number of helipads.
    std::function<void(ScannedAirport&, int helipads)> generateAirportFile;
};

// The code of an airport whose ident the scan takes; a four-character ident that the catalogue
// does not list is reported, invalid and other idents are dropped silently.
std::optional<common::FixedCode<4>> acceptScanCode(std::optional<std::string> ident,
                                                   const AirportScanSteps& steps,
                                                   ScanMessages& messages);

// Decodes every accepted airport of the file's bytes. A read outside the bytes throws
// std::out_of_range and ends the file; the airports handed on before stay handed on.
void processBglBytes(std::span<const std::uint8_t> bytes, const std::string& path,
                     ScanMessages& messages, const AirportScanSteps& steps);

// Processes the bytes of the file (path as UTF-8); an exception is logged and passed on.
void lf_processBGLfile(std::span<const std::uint8_t> bytes, const std::string& path,
                       ScanMessages& messages, const AirportScanSteps& steps);

}  // namespace corv::scan
