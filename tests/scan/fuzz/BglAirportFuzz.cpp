// libFuzzer target: any bytes as a compiled scenery file, processed as the scan processes one,
// with every four-character ident taken as a listed airport. It may not crash, read out of
// bounds or hang; the sanitizers watch. An out-of-range error is the documented end of a
// damaged file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "scan/BglAirportFile.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corv::scan;
    ScanMessages messages;
    const AirportScanSteps steps{
        [](const corv::common::FixedCode<4>&) { return true; },
        [](ScannedAirport&) { return false; },
        [](ScannedAirport&, int) {},
    };
    try {
        processBglBytes(std::span(data, size), "fuzz.bgl", messages, steps);
    } catch (const std::out_of_range&) {
    }
    return 0;
}
