#include "airports/SaveLearned.hpp"

#include <algorithm>

#include "airports/AirportFileWriter.hpp"
#include "airports/AirportPaths.hpp"
#include "services/Log.hpp"
#include "services/TimeText.hpp"

namespace corv::airports {

namespace {
// Only what the archive file does not hold: learned entries, manual stands, learned changes.
std::vector<Stand> learnedStands(const std::vector<Stand>& stands) {
    std::vector<Stand> kept;
    for (Stand stand : stands) {
        std::erase_if(stand.entries, [](const OccupancyEntry& entry) {
            return entry.origin == fromAirportFile || entry.index == 0;
        });
        if (stand.manual || !stand.entries.empty() || stand.radiusChanged || stand.cargoChanged) {
            kept.push_back(std::move(stand));
        }
    }
    return kept;
}
}  // namespace

void saveLearnedFile(LoadedAirport& airport, const AirportFilesContext& context) {
    if (!airport.loaded || !airport.code) return;
    AirportRecord record;
    record.code = *airport.code;
    record.name = airport.airport_name;
    record.publisher = airport.publisher;
    record.altitude = airport.altitude;
    record.handmade = airport.handmade;
    if (airport.handmade) {
        record.stands = airport.stands;
        record.quality = computeQualityFactors(airport.stands);
    } else {
        record.stands = learnedStands(airport.stands);
    }

    const std::string path = learnedFolderOf(airport.publisher) + "/" + record.code.str() + ".xml";
    if (writeAirportFile(context.workFolder / path, record, AirportFileMode::learned,
                         context.identities, context.metaSimNumber.load())) {
        services::log("{}{} '{}' saved with {} update{}", services::clockText(),
                      airport.handmade ? " handmade" : "", path, airport.updateCount,
                      airport.updateCount == 1 ? "" : "s");
    } else {
        services::log("{} saving '{}' did not succeed", services::clockText(), path);
    }
    airport.updateCount = 0;
}

}  // namespace corv::airports
