#include "scan/AirportDecoder.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <span>
#include <string>

#include <fmt/format.h>

#include "scan/PackedValues.hpp"
#include "scan/StandIds.hpp"
#include "services/Log.hpp"

namespace corv::scan {
namespace {

constexpr int maxSubrecords = 9000;
constexpr double metresPerNauticalMile = 1852.0;
constexpr double radiansPerDegree = std::numbers::pi / 180.0;

// Field offsets from the start of the record they belong to.
namespace airport_field {
constexpr std::size_t altitudeMillimetres = 20;
}
namespace name_field {
constexpr std::size_t text = 6;
constexpr std::size_t maxCharacters = 45;
}  // namespace name_field
namespace helipad_field {
constexpr std::size_t longitude = 12;
constexpr std::size_t latitude = 16;
constexpr std::size_t width = 28;
constexpr std::size_t heading = 32;
}  // namespace helipad_field
namespace parking_field {
constexpr std::size_t count = 6;
constexpr std::size_t firstEntry = 8;
// Within an entry:
constexpr std::size_t nameCode = 0;
constexpr std::size_t typeAndNumber = 1;
constexpr std::size_t airlineCount = 3;
constexpr std::size_t radius = 4;
constexpr std::size_t heading = 8;
constexpr std::size_t longitude = 28;
constexpr std::size_t latitude = 32;
constexpr std::size_t baseWords = 9;
constexpr std::size_t airlineCodeBytes = 4;
}  // namespace parking_field

std::size_t wordIndex(const AirportRecordRef& record, std::size_t offsetInRecord) {
    return (record.offset + offsetInRecord) / 4;
}

std::int32_t altitudeFeet(std::int32_t millimetres) {
    const auto feet = static_cast<std::int32_t>(std::lround(millimetres * 3.2808399 / 1000.0));
    return feet < -20 || feet > 10000 ? 0 : feet;
}

std::string decodeName(const BglView& record, std::size_t wordAt) {
    const int declared = static_cast<int>(record.u16(2)) - static_cast<int>(name_field::text);
    const auto wanted = static_cast<std::size_t>(
        std::clamp(declared, 0, static_cast<int>(name_field::maxCharacters)));
    const std::size_t available =
        record.size() > name_field::text ? record.size() - name_field::text : 0;
    if (wanted > available)
        services::log("! name blocks truncated at o3={}, available={}", wordAt, available / 4);
    std::string name;
    for (std::size_t i = 0; i < std::min(wanted, available); ++i)
        name.push_back(static_cast<char>(record.u8(name_field::text + i)));
    while (!name.empty() && name.back() == '\0')
        name.pop_back();
    return name;
}

// Name and altitude. Two different names leave the name empty: the scenery does not say which
// one is meant.
void decodeAirportBasic(const BglView& view, const AirportRecordRef& record,
                        ScannedAirport& airport) {
    airport.altitude = altitudeFeet(view.s32(airport_field::altitudeMillimetres));
    airport.name.clear();
    std::size_t at = record.layout.headerBytes;
    for (int count = 0; at + recordHeaderBytes <= view.size(); ++count) {
        if (count > maxSubrecords) {
            services::logMarked(
                "Error: Maximum loop iterations reached (3) \x97 possible corrupt Airport Basic "
                "data or malformed input.");
            return;
        }
        const RecordHeader header = readRecordHeader(view, at);
        if (header.stepBytes() == 0) {
            services::logMarked("   Warning: decodeSizeAtBoundary returned 0 at o3 = {}",
                                wordIndex(record, at));
            return;
        }
        if (header.is(RecordId::Name)) {
            const std::string text = decodeName(view.sub(at, header.length), wordIndex(record, at));
            if (airport.name.empty())
                airport.name = text;
            else if (airport.name != text)
                airport.name.clear();
        }
        at += header.stepBytes();
    }
}

void decodeHelipad(const BglView& helipad, ScannedAirport& airport, ScanMessages& messages) {
    const double latitude = packedLatitude(helipad.u32(helipad_field::latitude));
    const double longitude = packedLongitude(helipad.u32(helipad_field::longitude));
    if (!isValidPosition(latitude, longitude)) {
        messages.push_back(
            fmt::format("lat/lon helipad incorrect (skipped): {:.6f},{:.6f}", latitude, longitude));
        return;
    }
    for (const auto& [seenLatitude, seenLongitude] : airport.helipadPositions) {
        if (std::fabs(seenLatitude - latitude) < 1e-8 &&
            std::fabs(seenLongitude - longitude) < 1e-8) {
            messages.push_back(fmt::format("double helipad {} (skipped) {:.6f},{:.6f}",
                                           airport.name, latitude, longitude));
            return;
        }
    }
    airport.helipadPositions.emplace_back(latitude, longitude);
    ScannedStand stand;
    stand.id = fmt::format("helipad{}", airport.helipadCounter);
    stand.latitude = latitude;
    stand.longitude = longitude;
    stand.radius = helipad.f32(helipad_field::width) * 0.5 / metresPerNauticalMile;
    stand.heading = helipad.f32(helipad_field::heading) * radiansPerDegree;
    stand.heli = true;
    airport.stands.push_back(std::move(stand));
    ++airport.helipadCounter;
}

// The codes, comma-separated, written into the text in place.
void readAirlineCodes(const BglView& list, std::size_t first, unsigned count, std::string& codes) {
    namespace field = parking_field;
    // The count is only a hint: codes that run past the list throw.
    const std::span<const std::uint8_t> packed =
        list.bytes(first, std::size_t{count} * field::airlineCodeBytes);
    // Written straight into the text, sized for every code and comma first and cut to what
    // was written after. Each code is stored whole and the end moved past its characters, so
    // no code is copied byte by byte.
    codes.resize(std::size_t{count} * (field::airlineCodeBytes + 1));
    char* out = codes.data();
    for (std::size_t at = 0; at < packed.size(); at += field::airlineCodeBytes) {
        if (at > 0) *out++ = ',';
        const std::uint8_t* code = packed.data() + at;
        std::memcpy(out, code, field::airlineCodeBytes);
        const std::uint32_t value = std::uint32_t{code[0]} | std::uint32_t{code[1]} << 8 |
                                    std::uint32_t{code[2]} << 16 | std::uint32_t{code[3]} << 24;
        // The code's characters are its bytes up to the last one that is not NUL.
        out += static_cast<std::size_t>(32 - std::countl_zero(value) + 7) / 8;
    }
    codes.resize(static_cast<std::size_t>(out - codes.data()));
}

// Entries are read only inside the list's own record; one that reaches past it throws.
void decodeParkingList(const BglView& list, const AirportLayout& layout, ScannedAirport& airport,
                       ScanMessages& messages) {
    namespace field = parking_field;
    const unsigned count = list.u16(field::count);
    std::size_t entry = field::firstEntry;
    // The count is only a hint: the entries must still fit in the list.
    const std::size_t fitting = std::min<std::size_t>(count, list.size() / 36);
    airport.stands.reserve(airport.stands.size() + fitting);
    airport.usedIds.reserve(fitting);
    for (unsigned i = 0; i < count && list.contains(entry, 8); ++i) {
        const unsigned nameCode = list.u8(entry + field::nameCode) & 0x3FU;
        const unsigned typeAndNumber = list.u16(entry + field::typeAndNumber);
        const auto type = static_cast<std::int16_t>(typeAndNumber & 0x0FU);
        const unsigned number = typeAndNumber >> 4;
        const unsigned airlineCodes = list.u8(entry + field::airlineCount);
        const float radiusMetres = list.f32(entry + field::radius);
        const std::size_t airlinesAt =
            entry + (field::baseWords + layout.parkingEntryExtraWords) * 4;
        const std::size_t next = airlinesAt + airlineCodes * field::airlineCodeBytes;

        // Type 13 is a vehicle position; 0 no parking at all.
        if (type == 0 || type == 13) {
            entry = next;
            continue;
        }
        const double latitude = packedLatitude(list.u32(entry + field::latitude));
        const double longitude = packedLongitude(list.u32(entry + field::longitude));
        if (!isValidPosition(latitude, longitude)) {
            messages.push_back(
                fmt::format("LatLon {:.6f},{:.6f} invalid (skipped)", latitude, longitude));
            entry = next;
            continue;
        }
        const StandId id =
            uniqueStandId(airport, StandId::candidate(standNamePrefix(nameCode), number), messages);
        if (!id.empty()) {
            // A heading of exactly 0 is written as 360 so that it reads as "set".
            const float degrees = list.f32(entry + field::heading);
            // Built in its place: the stand list is reserved, and a moved stand costs copies.
            ScannedStand& stand = airport.stands.emplace_back();
            stand.latitude = latitude;
            stand.longitude = longitude;
            stand.heading = degrees == 0.0F ? 2.0 * std::numbers::pi : degrees * radiansPerDegree;
            stand.radius = radiusMetres / metresPerNauticalMile;
            stand.type = type;
            id.assignTo(stand.id);
            // A damaged count throws here; the airport is then given up whole.
            readAirlineCodes(list, airlinesAt, airlineCodes, stand.airlineCodes);
        }
        entry = next;
    }
}

}  // namespace

void decodeAirportRecord(const BglView& file, const AirportRecordRef& record,
                         ScannedAirport& airport, ScanMessages& messages) {
    // The record ends where its length says or at the end of the file, whichever comes first.
    const BglView view = file.sub(record.offset, record.lengthBytes);
    decodeAirportBasic(view, record, airport);

    std::size_t at = record.layout.headerBytes;
    for (int count = 0; at < record.lengthBytes; ++count) {
        if (count > maxSubrecords) {
            services::logMarked(
                "Error: Maximum loop iterations reached (1) \x97 possible corrupt SIA or "
                "malformed input");
            return;
        }
        if (!view.contains(at, recordHeaderBytes)) {
            services::log("   Error: o3={} exceeded data buffer size ({}), aborting.",
                          wordIndex(record, at), file.size() / 4);
            return;
        }
        const RecordHeader header = readRecordHeader(view, at);
        if (header.stepBytes() == 0) {
            const std::string warning = fmt::format(
                "   Warning: decodeSizeAtBoundary returned 0 at o3 = {}", wordIndex(record, at));
            if (header.is(RecordId::Name) || header.is(RecordId::Helipad))
                services::logMarked(warning);
            else
                services::log(warning);
            return;
        }
        const BglView subrecord = view.sub(at, header.length);
        if (header.is(RecordId::Helipad)) {
            decodeHelipad(subrecord, airport, messages);
        } else if (header.is(record.layout.parkingListId)) {
            // Subrecords after the parking list hold nothing the airport file needs.
            decodeParkingList(subrecord, record.layout, airport, messages);
            return;
        }
        at += header.stepBytes();
    }
}

}  // namespace corv::scan
