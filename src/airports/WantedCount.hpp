#pragma once

#include <cstddef>
#include <cstdint>

namespace corv::airports {

// How many static aircraft the park airport gets: its share of the stands, at most
// maxParkSel; an airport with a stand or two always gets one, so it never looks deserted.
std::int32_t wantedStaticCount(std::size_t standCount, std::int32_t percentage,
                               std::int32_t maxParkSel);

// The share of the stands to fill: the user's own choice when one was made, else the airport's.
std::int32_t parkingShare();

}  // namespace corv::airports
