#pragma once

#include <functional>
#include <string_view>

#include "scan/AirportDecoder.hpp"
#include "scan/BglView.hpp"

namespace corv::scan {

// Finds the airport records of a whole scenery file (its bytes up to the last whole word) and
// hands each one with its packed ident to onAirport, in file order. A file with a wrong header
// is passed over silently; damaged record chains are reported in the log and end the walk of
// their section. Records already walked from an earlier section are not walked again, so no
// file can make the walk repeat itself.
void forEachAirportRecord(
    const BglView& file, std::string_view path,
    const std::function<void(const AirportRecordRef&, std::uint32_t packedIdent)>& onAirport);

}  // namespace corv::scan
