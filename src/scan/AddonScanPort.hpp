#pragma once

namespace corv::scan {

class AddonScanPort {
  public:
    virtual ~AddonScanPort() = default;

    // Reads the add-on airport scenery into the local airport folders.
    virtual void scanAddonAirports() = 0;
};

}  // namespace corv::scan
