#include "scan/AirportRecordWalk.hpp"

#include <vector>

#include "services/Log.hpp"

namespace corv::scan {
namespace {

constexpr std::uint32_t expectedHeaderBytes = 56;
constexpr std::uint32_t airportSectionType = 3;
constexpr std::uint32_t skippedSectionFlag = 0x10000;
constexpr int maxRecords = 9000;

namespace file_field {
constexpr std::size_t headerBytes = 4;
constexpr std::size_t sectionCount = 20;
constexpr std::size_t firstSection = 56;
constexpr std::size_t sectionBytes = 20;
}  // namespace file_field
namespace section_field {
constexpr std::size_t type = 0;
constexpr std::size_t flags = 4;
constexpr std::size_t subsectionOffset = 12;
}  // namespace section_field
namespace subsection_field {
constexpr std::size_t recordOffset = 8;
}
namespace airport_field {
constexpr std::size_t packedIdent = 40;
}

// The offset of the first record of an airport section, when it has one inside the file.
std::optional<std::size_t> firstRecordOf(const BglView& file, std::size_t section) {
    if (!file.contains(section, file_field::sectionBytes)) return std::nullopt;
    if (file.u32(section + section_field::type) != airportSectionType) return std::nullopt;
    if ((file.u32(section + section_field::flags) & skippedSectionFlag) != 0) return std::nullopt;
    const std::size_t subsection = file.u32(section + section_field::subsectionOffset) / 4 * 4;
    if (!file.contains(subsection + subsection_field::recordOffset, 4)) return std::nullopt;
    return file.u32(subsection + subsection_field::recordOffset) / 4 * 4;
}

void walkSection(
    const BglView& file, std::size_t at, std::string_view path, std::vector<bool>& walked,
    const std::function<void(const AirportRecordRef&, std::uint32_t)>& onAirport) {
    for (int count = 0; file.contains(at, 4); ++count) {
        if (count > maxRecords) {
            services::logMarked(
                "Error: maximum loop iterations {} reached (2) \x97 possible corrupt BGL or "
                "malformed input in:\n'{}'",
                maxRecords, path);
            return;
        }
        // From here on the chain is the one an earlier section already walked.
        if (walked[at / 4]) return;
        walked[at / 4] = true;
        if (!file.contains(at, recordHeaderBytes)) return;
        const RecordHeader header = readRecordHeader(file, at);
        if (const auto layout = airportLayoutOf(header)) {
            if (header.stepBytes() == 0) {
                services::logMarked("   Warning: decodeSizeAtBoundary returned {} at o2 = {}", 0,
                                    at / 4);
                return;
            }
            if (file.contains(at + airport_field::packedIdent, 4))
                onAirport({at, header.stepBytes(), *layout},
                          file.u32(at + airport_field::packedIdent));
        }
        if (header.stepBytes() == 0) return;
        at += header.stepBytes();
    }
}

}  // namespace

void forEachAirportRecord(
    const BglView& file, std::string_view path,
    const std::function<void(const AirportRecordRef&, std::uint32_t packedIdent)>& onAirport) {
    if (!file.contains(0, 60) || file.u32(file_field::headerBytes) != expectedHeaderBytes) return;
    const std::uint32_t sections = file.u32(file_field::sectionCount);
    if (sections == 0 ||
        (file.size() - file_field::firstSection) / file_field::sectionBytes < sections)
        return;
    std::vector<bool> walked(file.size() / 4, false);
    for (std::uint32_t i = 0; i < sections; ++i) {
        const auto first =
            firstRecordOf(file, file_field::firstSection + std::size_t{i} * file_field::sectionBytes);
        if (first) walkSection(file, *first, path, walked, onAirport);
    }
}

}  // namespace corv::scan
