#pragma once

// Writes small scenery files byte by byte, so a test can build exactly the records it needs,
// damaged ones included.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace corv::test {

using Bytes = std::vector<std::uint8_t>;

inline void putU16(Bytes& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void putU32(Bytes& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void putF32(Bytes& out, std::size_t at, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    putU32(out, at, bits);
}

inline std::uint32_t packLatitude(double latitude) {
    return static_cast<std::uint32_t>(std::llround((90.0 - latitude) * (1U << 29) / 180.0));
}
inline std::uint32_t packLongitude(double longitude) {
    return static_cast<std::uint32_t>(std::llround((longitude + 180.0) * 3.0 * (1U << 28) / 360.0));
}
inline std::uint32_t packIdent(std::string_view ident) {
    std::uint32_t value = 0;
    for (char c : ident)
        value = value * 38 + (c >= 'A' ? static_cast<std::uint32_t>(c - 'A' + 12)
                                       : static_cast<std::uint32_t>(c - '0' + 2));
    return value << 5;
}

// A record: id, length (padded to whole words) and the body from offset 6 on.
inline Bytes record(std::uint16_t id, std::size_t length) {
    Bytes out((length + 3) / 4 * 4, 0);
    putU16(out, 0, id);
    putU32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

inline Bytes nameRecord(std::string_view name) {
    // The text is padded with NULs to whole words, as the compiler does.
    Bytes out = record(0x19, 6 + name.size());
    std::memcpy(out.data() + 6, name.data(), name.size());
    return out;
}

inline Bytes helipadRecord(double latitude, double longitude, float width, float heading) {
    Bytes out = record(0x26, 36);
    putU32(out, 12, packLongitude(longitude));
    putU32(out, 16, packLatitude(latitude));
    putF32(out, 28, width);
    putF32(out, 32, heading);
    return out;
}

struct ParkingEntry {
    unsigned nameCode = 10;  // "g"
    unsigned type = 8;
    unsigned number = 1;
    std::vector<std::string> airlines;
    float radius = 20.0F;
    float heading = 90.0F;
    double latitude = 52.3;
    double longitude = 4.76;
};

inline Bytes parkingListRecord(bool extended, const std::vector<ParkingEntry>& entries) {
    Bytes body;
    for (const ParkingEntry& e : entries) {
        const std::size_t words = 9 + (extended ? 1 : 0) + e.airlines.size();
        Bytes entry(words * 4, 0);
        entry[0] = static_cast<std::uint8_t>(e.nameCode);
        putU16(entry, 1, static_cast<std::uint16_t>(e.type | e.number << 4));
        entry[3] = static_cast<std::uint8_t>(e.airlines.size());
        putF32(entry, 4, e.radius);
        putF32(entry, 8, e.heading);
        putU32(entry, 28, packLongitude(e.longitude));
        putU32(entry, 32, packLatitude(e.latitude));
        std::size_t at = (9 + (extended ? 1 : 0)) * 4;
        for (const std::string& code : e.airlines) {
            std::memcpy(entry.data() + at, code.data(), std::min<std::size_t>(code.size(), 4));
            at += 4;
        }
        body.insert(body.end(), entry.begin(), entry.end());
    }
    Bytes out = record(extended ? 0xAD : 0x3D, 8 + body.size());
    putU16(out, 6, static_cast<std::uint16_t>(entries.size()));
    std::copy(body.begin(), body.end(), out.begin() + 8);
    return out;
}

inline Bytes airportRecord(std::string_view ident, bool extended, std::int32_t altitudeMillimetres,
                           const std::vector<Bytes>& subrecords) {
    const std::size_t header = extended ? 60 : 56;
    std::size_t length = header;
    for (const Bytes& sub : subrecords) length += sub.size();
    Bytes out = record(extended ? 0xAB : 0x3C, length);
    putU32(out, 20, static_cast<std::uint32_t>(altitudeMillimetres));
    putU32(out, 40, packIdent(ident));
    std::size_t at = header;
    for (const Bytes& sub : subrecords) {
        std::copy(sub.begin(), sub.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        at += sub.size();
    }
    return out;
}

struct Section {
    std::uint32_t type = 3;
    std::uint32_t flags = 0;
    std::vector<Bytes> records;
};

// Header, section headers, one subsection header per section, then the records of each section.
inline Bytes bglFile(const std::vector<Section>& sections, std::uint32_t headerSize = 56) {
    const std::size_t subsections = 56 + 20 * sections.size();
    Bytes out(subsections + 16 * sections.size(), 0);
    putU32(out, 4, headerSize);
    putU32(out, 20, static_cast<std::uint32_t>(sections.size()));
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::size_t header = 56 + 20 * i;
        const std::size_t subsection = subsections + 16 * i;
        putU32(out, header, sections[i].type);
        putU32(out, header + 4, sections[i].flags);
        putU32(out, header + 8, 1);
        putU32(out, header + 12, static_cast<std::uint32_t>(subsection));
        putU32(out, subsection + 8, static_cast<std::uint32_t>(out.size()));
        for (const Bytes& r : sections[i].records) out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

}  // namespace corv::test
