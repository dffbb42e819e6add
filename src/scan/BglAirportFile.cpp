#include "scan/BglAirportFile.hpp"

#include <fmt/format.h>

#include "scan/AirportRecordWalk.hpp"
#include "scan/PackedValues.hpp"
#include "services/Log.hpp"

namespace corv::scan {

std::optional<common::FixedCode<4>> acceptScanCode(std::optional<std::string> ident,
                                                   const AirportScanSteps& steps,
                                                   ScanMessages& messages) {
    if (!ident || ident->size() != 4) return std::nullopt;
    const common::FixedCode<4> code(*ident);
    if (steps.isRtSupported(code)) return code;
    messages.push_back(fmt::format("{} is not an airport supported by RealTraffic", code));
    return std::nullopt;
}

void processBglBytes(std::span<const std::uint8_t> bytes, const std::string& path,
                     ScanMessages& messages, const AirportScanSteps& steps) {
    // Trailing bytes that do not fill a word are no part of any record.
    const BglView file(bytes.first(bytes.size() / 4 * 4));
    forEachAirportRecord(file, path, [&](const AirportRecordRef& record, std::uint32_t ident) {
        const auto code = acceptScanCode(decodeIcaoIdent(ident), steps, messages);
        if (!code) return;
        ScannedAirport airport;
        airport.code = *code;
        airport.bglPath = path;
        if (steps.linkToArchive(airport)) return;
        decodeAirportRecord(file, record, airport, messages);
        steps.generateAirportFile(airport, airport.helipadCounter - 1);
    });
}

void lf_processBGLfile(std::span<const std::uint8_t> bytes, const std::string& path,
                       ScanMessages& messages, const AirportScanSteps& steps) {
    try {
        processBglBytes(bytes, path, messages, steps);
    } catch (const std::exception& error) {
        services::logMarked("Exception in lf_processBGLfile (std::ex): {} \x97 {}", path,
                            error.what());
        throw;
    } catch (...) {
        services::logMarked("Exception in lf_processBGLfile: {}", path);
        throw;
    }
}

}  // namespace corv::scan
