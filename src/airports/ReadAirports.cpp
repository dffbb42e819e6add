#include "airports/ReadAirports.hpp"

#include <exception>
#include <vector>

#include "airports/AirportsXml.hpp"
#include "common/UserErrorException.hpp"
#include "data/EncryptedFile.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"

namespace corv::airports {

bool gf_readAirports(AirportCatalogue& catalogue, const std::filesystem::path& inputFolder) {
    if (catalogue.isRead()) return !catalogue.empty();

    const std::filesystem::path plainFile = inputFolder / "airports.xml";
    try {
        data::gf_streamDecrypt(data::programKey(), inputFolder / "airports.enc", plainFile);
    } catch (const std::exception& e) {
        services::logMarked("{} exception : {}", "gf_readAirports", e.what());
        // A failed decryption may leave part of the plain data behind.
        services::removeFileWarn(plainFile);
        throw;
    }
    return readAirportsFile(catalogue, plainFile);
}

bool readAirportsFile(AirportCatalogue& catalogue, const std::filesystem::path& plainFile) {
    std::vector<CatalogueAirport> airports;
    try {
        airports = parseAirportsXml(plainFile);
    } catch (const std::exception& e) {
        services::removeFileWarn(plainFile);
        throw UserErrorException(airportsFileErrorCode, e.what());
    }
    catalogue.assign(std::move(airports));
    services::log("{:5} airports read", catalogue.airports().size());
    services::removeFileWarn(plainFile);
    return !catalogue.empty();
}

}  // namespace corv::airports
