#pragma once

#include <string>

#include "run/Subsystems.hpp"

namespace corv::app {

// The subsystems as they behave while nothing of them is installed: no add-on scan.
// Each is replaced by the real one as it is built.

class UnwiredAddonScan final : public scan::AddonScanPort {
  public:
    void scanAddonAirports() override {}
};

}  // namespace corv::app
