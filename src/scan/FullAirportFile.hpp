#pragma once

#include "airports/AircraftIdentities.hpp"
#include "scan/GeneratedAirportFile.hpp"

namespace corv::scan {

// Writes a decoded airport as a full airport file: its stands without occupancy.
AirportFileWriter fullAirportFileWriter(const airports::AircraftIdentities& identities,
                                        int simNumber);

}  // namespace corv::scan
