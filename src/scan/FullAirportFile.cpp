#include "scan/FullAirportFile.hpp"

#include "airports/AirportFileWriter.hpp"

namespace corv::scan {

AirportFileWriter fullAirportFileWriter(const airports::AircraftIdentities& identities,
                                        int simNumber) {
    return
        [&identities, simNumber](const std::filesystem::path& path, const ScannedAirport& scanned) {
            airports::AirportRecord record;
            record.code = scanned.code;
            record.name = scanned.name;
            record.bglPath = scanned.bglPath;
            record.publisher = scanned.publisher;
            record.altitude = scanned.altitude;
            for (const ScannedStand& found : scanned.stands) {
                airports::Stand stand;
                stand.id = found.id;
                stand.latitude = found.latitude;
                stand.longitude = found.longitude;
                stand.heading = found.heading;
                stand.radius = found.radius;
                stand.type = found.type;
                stand.heli = found.heli;
                stand.cargo = airports::isCargoType(found.type);
                stand.ramp = airports::isRampType(found.type);
                record.stands.push_back(std::move(stand));
            }
            return airports::writeAirportFile(path, record, airports::AirportFileMode::full,
                                              identities, simNumber);
        };
}

}  // namespace corv::scan
