#pragma once

#include <cstdint>
#include <string>

#include "common/CodeTable.hpp"

namespace corv::liveries {

// One installed livery: what the simulator is given (the title) and what it represents.
struct LiveryData {
    std::string title;  // unique across one scan
    std::string registration;
    common::CodeIndex airline = 0;  // "PVT" for private liveries, "ZZZ" for generic ones
    common::CodeIndex operatorIndex = 0;
    common::CodeIndex model = 0;
    bool cargo = false;
    bool fromDbase = false;       // airline, operator, model and cargo came from the registration
    std::int32_t folderRank = 0;  // 1 for the first scanned folder; 0 when read back from file
};

}  // namespace corv::liveries
