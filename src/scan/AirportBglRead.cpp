#include "scan/AirportBglRead.hpp"

#include <algorithm>
#include <fstream>

#include "scan/BglView.hpp"

namespace corv::scan {
namespace {

constexpr std::size_t firstSection = 56;
constexpr std::size_t sectionBytes = 20;
constexpr std::size_t sectionCountAt = 20;
constexpr std::uint32_t airportSectionType = 3;
// Most airport files fit; larger ones are read in a second step.
constexpr std::size_t firstReadBytes = 64 * 1024;

// Reads up to count more bytes behind the used ones; returns the bytes used now.
std::size_t readMore(std::filebuf& file, std::vector<std::uint8_t>& buffer, std::size_t used,
                     std::size_t count) {
    if (buffer.size() < used + count) buffer.resize(used + count);
    const std::streamsize got = file.sgetn(reinterpret_cast<char*>(buffer.data() + used),
                                           static_cast<std::streamsize>(count));
    return used + static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
}

std::uintmax_t lengthOf(std::filebuf& file, std::size_t position) {
    const auto end = file.pubseekoff(0, std::ios::end, std::ios::in);
    file.pubseekpos(static_cast<std::streamoff>(position), std::ios::in);
    return end < 0 ? position : static_cast<std::uintmax_t>(end);
}

}  // namespace

bool isAirportBgl(std::span<const std::uint8_t> bytes, std::uintmax_t fileLength) {
    if (fileLength <= firstSection || bytes.size() < sectionCountAt + 4) return false;
    const BglView view(bytes);
    const std::uint32_t sections = view.u32(sectionCountAt);
    if ((fileLength - firstSection) / sectionBytes < sections) return false;
    for (std::size_t at = firstSection;
         at < firstSection + sectionBytes * sections && view.contains(at, 4); at += sectionBytes)
        if (view.u32(at) == airportSectionType) return true;
    return false;
}

std::optional<std::span<const std::uint8_t>> readAirportBgl(const std::filesystem::path& path,
                                                            std::vector<std::uint8_t>& buffer) {
    // Unbuffered: the bytes go straight into the buffer, in one read for most files.
    std::filebuf file;
    file.pubsetbuf(nullptr, 0);
    if (!file.open(path.c_str(), std::ios::in | std::ios::binary)) return std::nullopt;
    std::size_t used = readMore(file, buffer, 0, firstReadBytes);
    const bool whole = used < firstReadBytes;
    const std::uintmax_t length = whole ? used : lengthOf(file, used);
    if (!whole && used >= sectionCountAt + 4) {
        const std::size_t headersEnd =
            firstSection + std::size_t{BglView(buffer).u32(sectionCountAt)} * sectionBytes;
        if (headersEnd > used && headersEnd <= length)
            used = readMore(file, buffer, used, headersEnd - used);
    }
    if (!isAirportBgl(std::span(buffer).first(used), length)) return std::nullopt;
    if (!whole) used = readMore(file, buffer, used, static_cast<std::size_t>(length) - used);
    return std::span<const std::uint8_t>(buffer).first(used);
}

}  // namespace corv::scan
