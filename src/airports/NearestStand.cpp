#include "airports/NearestStand.hpp"

#include <exception>
#include <system_error>

#include <pugixml.hpp>

#include "airports/AirportFileXml.hpp"
#include "airports/AirportPaths.hpp"
#include "services/Log.hpp"

namespace corv::airports {

namespace fs = std::filesystem;

namespace {
double nearestIn(const pugi::xml_document& document, const common::GeoPoint& position,
                 std::string& standId) {
    bool found = false;
    double nearest = 0.0;
    for (pugi::xml_node parkpos :
         listsParent(document).child("parkpositions").children("parkpos")) {
        const double distance =
            common::distanceNm(position, {parkpos.attribute("latitude").as_double(),
                                          parkpos.attribute("longitude").as_double()});
        if (!found || distance < nearest) {
            found = true;
            nearest = distance;
            standId = parkpos.attribute("id").as_string();
        }
    }
    return found ? nearest : noStandDistanceNm;
}
}  // namespace

double gf_readDestApfForClosestStand(const fs::path& workFolder, const AirportCatalogue& catalogue,
                                     data::SiteDownloader& downloader, const AirportCode& code,
                                     const common::GeoPoint& position, std::string& standId) {
    try {
        const std::string path = resolveAirportFile(workFolder, catalogue, code);
        if (path.empty()) return noStandDistanceNm;
        fs::path file = workFolder / path;
        const fs::path download = workFolder / "airport.xml";
        if (!isLocalAirportPath(path)) {
            if (!downloader.download("downloads/P3D/" + path, download)) return noStandDistanceNm;
            file = download;
        }
        pugi::xml_document document;
        document.load_file(file.c_str());
        const double nearest = nearestIn(document, position, standId);
        if (fs::exists(download)) fs::remove(download);
        return nearest;
    } catch (const std::exception& e) {
        services::logMarked("{}: {}", "gf_readDestApfForClosestStand", e.what());
        return noStandDistanceNm;
    }
}

}  // namespace corv::airports
