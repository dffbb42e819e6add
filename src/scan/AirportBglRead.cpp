#include "scan/AirportBglRead.hpp"

#include <algorithm>

#include "platform/ReadOnlyFile.hpp"
#include "scan/BglView.hpp"

namespace corv::scan {
namespace {

constexpr std::size_t firstSection = 56;
constexpr std::size_t sectionBytes = 20;
constexpr std::size_t sectionCountAt = 20;
constexpr std::uint32_t airportSectionType = 3;
// Most airport files are read whole at once; of larger ones only the section headers first.
constexpr std::size_t firstReadBytes = 64 * 1024;

// Reads the bytes up to `until` behind the used ones; returns the bytes used now.
std::size_t readUpTo(platform::ReadOnlyFile& file, std::vector<std::uint8_t>& buffer,
                     std::size_t used, std::size_t until) {
    if (until <= used) return used;
    if (buffer.size() < until) buffer.resize(until);
    return used + file.read(buffer.data() + used, until - used);
}

// True when the bytes have an airport section (header size and section flags are not looked
// at). fileLength is the length of the whole file, of which the bytes may be the start.
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

}  // namespace

std::optional<std::span<const std::uint8_t>> readAirportBgl(platform::ReadOnlyFile& file,
                                                            std::vector<std::uint8_t>& buffer) {
    const std::optional<std::uintmax_t> length = file.isOpen() ? file.length() : std::nullopt;
    if (!length || *length <= firstSection) return std::nullopt;
    const auto fileBytes = static_cast<std::size_t>(*length);
    std::size_t used = readUpTo(file, buffer, 0, std::min(fileBytes, firstReadBytes));
    if (used >= sectionCountAt + 4) {
        const std::size_t headersEnd =
            firstSection + std::size_t{BglView(buffer).u32(sectionCountAt)} * sectionBytes;
        if (headersEnd <= fileBytes) used = readUpTo(file, buffer, used, headersEnd);
    }
    if (!isAirportBgl(std::span(buffer).first(used), *length)) return std::nullopt;
    used = readUpTo(file, buffer, used, fileBytes);
    return std::span<const std::uint8_t>(buffer).first(used);
}

std::optional<std::span<const std::uint8_t>> readAirportBgl(const SceneryFile& file,
                                                            std::vector<std::uint8_t>& buffer) {
    platform::ReadOnlyFile opened(file.folder, file.name.c_str());
    return readAirportBgl(opened, buffer);
}

}  // namespace corv::scan
