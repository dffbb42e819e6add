#include "scan/BglRecord.hpp"

namespace corv::scan {

RecordHeader readRecordHeader(const BglView& view, std::size_t offset) {
    return {view.u16(offset), view.u32(offset + 2)};
}

std::optional<AirportLayout> airportLayoutOf(const RecordHeader& header) noexcept {
    if (header.is(RecordId::Airport)) return AirportLayout{false, 56, RecordId::ParkingList, 0};
    if (header.is(RecordId::AirportExtended))
        return AirportLayout{true, 60, RecordId::ParkingListExtended, 1};
    return std::nullopt;
}

}  // namespace corv::scan
