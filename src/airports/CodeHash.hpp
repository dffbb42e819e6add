#pragma once

#include <cstddef>

#include "airports/CatalogueAirport.hpp"
#include "common/Fnv1aHash.hpp"

namespace corv::airports {

// FNV-1a, 64 bits, over the four bytes of an airport code.
struct CodeHash {
    std::size_t operator()(const AirportCode& code) const noexcept {
        return static_cast<std::size_t>(common::fnv1a64(code.view()));
    }
};

}  // namespace corv::airports
