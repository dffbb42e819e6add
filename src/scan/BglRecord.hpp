#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "scan/BglView.hpp"

namespace corv::scan {

// The record ids the airport decoding looks at.
enum class RecordId : std::uint16_t {
    Airport = 0x3C,
    AirportExtended = 0xAB,
    Name = 0x19,
    Helipad = 0x26,
    ParkingList = 0x3D,
    ParkingListExtended = 0xAD,
};

constexpr std::size_t recordHeaderBytes = 6;

// The header every record and subrecord starts with.
struct RecordHeader {
    std::uint16_t id = 0;
    std::uint32_t length = 0;  // bytes, header included

    bool is(RecordId wanted) const noexcept { return id == static_cast<std::uint16_t>(wanted); }
    // Records start on 4-byte boundaries; the walk steps by whole words.
    std::size_t stepBytes() const noexcept { return length / 4 * 4; }
};

RecordHeader readRecordHeader(const BglView& view, std::size_t offset);

// The two airport forms differ in their header size, the id of their parking list and the
// length of a parking entry; the form is chosen once from the airport's record id.
struct AirportLayout {
    bool extended = false;
    std::size_t headerBytes = 0;
    RecordId parkingListId = RecordId::ParkingList;
    std::size_t parkingEntryExtraWords = 0;
};

std::optional<AirportLayout> airportLayoutOf(const RecordHeader& header) noexcept;

}  // namespace corv::scan
