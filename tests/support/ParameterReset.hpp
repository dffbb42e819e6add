#pragma once

#include <variant>

#include "settings/ParameterTable.hpp"

namespace corv::test {

// Parameters are process-wide; every settings test starts from the defaults.
inline void resetParameters() {
    using namespace settings;
    for (const Registration& registration : registeredParameters()) {
        std::visit([](auto* parameter) { parameter->setCurrent(parameter->defaultValue()); },
                   registration.parameter);
    }
    PROGRAM_VERSION.setDefault("");
    PROGRAM_VERSION.setCurrent("");
    MAX_FIT_FL.setCurrent(MAX_FIT_FL.defaultValue());
    parking_percentage.setCurrent(parking_percentage.defaultValue());
    ALL_INSTALL_PATH.setCurrent("");
    CALLSIGN_2_OBJECTID.setEntries({});
}

}  // namespace corv::test
