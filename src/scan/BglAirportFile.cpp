#include "scan/BglAirportFile.hpp"

#include <fstream>
#include <vector>

#include <fmt/format.h>

#include "scan/AirportRecordWalk.hpp"
#include "scan/PackedValues.hpp"
#include "services/Log.hpp"

namespace corv::scan {

bool isAirportBgl(const std::filesystem::path& path) {
    // Only the header and the section headers are read: scenery files can be large.
    std::error_code error;
    const auto length = std::filesystem::file_size(path, error);
    if (error || length <= 56) return false;
    std::ifstream in(path, std::ios::binary);
    std::uint8_t countBytes[4]{};
    if (!in.seekg(20) || !in.read(reinterpret_cast<char*>(countBytes), 4)) return false;
    const std::uint32_t sections = BglView(countBytes).u32(0);
    if ((length - 56) / 20 < sections) return false;
    std::vector<std::uint8_t> headers(std::size_t{sections} * 20);
    if (!in.seekg(56) ||
        !in.read(reinterpret_cast<char*>(headers.data()), static_cast<std::streamsize>(headers.size())))
        return false;
    const BglView view(headers);
    for (std::size_t i = 0; i < sections; ++i)
        if (view.u32(20 * i) == 3) return true;
    return false;
}

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

void lf_processBGLfile(const std::string& path, ScanMessages& messages,
                       const AirportScanSteps& steps) {
    try {
        std::ifstream in(std::filesystem::path(path), std::ios::binary | std::ios::ate);
        const std::streamoff length = in.tellg();
        if (!in || length < 0) return;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
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
