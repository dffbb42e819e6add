#pragma once

#include <cstddef>

#include "scan/BglRecord.hpp"
#include "scan/BglView.hpp"
#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// Where an airport record lies in the file and which of the two forms it has.
struct AirportRecordRef {
    std::size_t offset = 0;       // bytes from the file start
    std::size_t lengthBytes = 0;  // whole words, as the header states it
    AirportLayout layout;
};

// Fills the airport's name, altitude and stands (parking positions and helipads) from its
// record. Damaged subrecords are reported and end the walk over the airport's subrecords; a
// read outside the file or outside the record being read throws std::out_of_range.
void decodeAirportRecord(const BglView& file, const AirportRecordRef& record,
                         ScannedAirport& airport, ScanMessages& messages);

}  // namespace corv::scan
