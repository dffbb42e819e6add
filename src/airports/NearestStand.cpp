#include "airports/NearestStand.hpp"

#include <pugixml.hpp>

#include "airports/AirportFileRead.hpp"
#include "airports/AirportFileSource.hpp"
#include "data/SiteDownloader.hpp"
#include "services/Log.hpp"

namespace corv::airports {

double gf_readDestApfForClosestStand(const StandFileAccess& access, const AirportCode& code,
                                     const common::GeoPoint& position, std::string& standId) {
    try {
        const std::string path = resolveAirportFile(access.folder, access.catalogue, code);
        if (path.empty()) return noStandDistanceNm;
        std::filesystem::path file = access.folder / path;
        const bool downloaded = path.rfind("airports", 0) != 0;
        if (downloaded) {
            file = access.folder / "airport.xml";
            if (!access.site.download(path, file)) return noStandDistanceNm;
        }
        pugi::xml_document document;
        document.load_file(file.c_str());
        double nearest = noStandDistanceNm;
        bool found = false;
        const pugi::xml_node list = airportFileLists(document).child("parkpositions");
        for (const pugi::xml_node parkpos : list.children("parkpos")) {
            const double distance =
                common::distanceNm(position, {parkpos.attribute("latitude").as_double(),
                                              parkpos.attribute("longitude").as_double()});
            if (!found || distance < nearest) {
                nearest = distance;
                standId = parkpos.attribute("id").value();
                found = true;
            }
        }
        if (downloaded) std::filesystem::remove(file);
        return found ? nearest : noStandDistanceNm;
    } catch (const std::exception& error) {
        services::logMarked("{}: {}", "gf_readDestApfForClosestStand", error.what());
        return noStandDistanceNm;
    }
}

}  // namespace corv::airports
