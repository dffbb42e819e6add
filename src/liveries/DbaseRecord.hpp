#pragma once

#include <string>

#include "common/CodeTable.hpp"

namespace corv::liveries {

// What the reference data knows of one airframe, found by its registration.
struct DbaseRecord {
    std::string registration;
    common::CodeIndex airline = 0;
    common::CodeIndex operatorIndex = 0;
    common::CodeIndex model = 0;
    bool cargo = false;
    bool valid = true;
};

}  // namespace corv::liveries
