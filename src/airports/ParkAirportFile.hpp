#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "airports/AirportCatalogue.hpp"
#include "airports/EntryIdentities.hpp"
#include "airports/LoadedAirport.hpp"

namespace corv::data {
class SiteDownloader;
}
namespace corv::services {
class MessageLine;
}
namespace corv::status {
class ControlStates;
}

namespace corv::airports {

// What reading and leaving the park airport work with.
struct AirportFileServices {
    std::filesystem::path folder;  // the working folder: "airports" lies below it
    const AirportCatalogue& catalogue;
    const EntryIdentities& identities;
    data::SiteDownloader& site;
    services::MessageLine& messages;
    status::ControlStates& controls;
    // The range setter of the window's side: the radius clamped, shown and passed on.
    std::function<void(std::int32_t)> setRange;
    int simNumber = 3;
};

// Reads the park airport's stand file (downloading a site path first), its learned file, and
// prepares the stand list. Returns an error text, empty on success.
std::string gf_readApf(const std::string& path, LoadedAirport& airport,
                       const AirportFileServices& services);

// Merges the learned file into the loaded airport (or, for a handmade one, replaces its stands)
// and applies the settings chosen there.
void lf_readLearned(const std::filesystem::path& learnedPath, LoadedAirport& airport,
                    const AirportFileServices& services);

// Writes what was learned at the airport and the settings chosen there; the update counter
// returns to 0.
void saveLearnedFile(LoadedAirport& airport, const AirportFileServices& services);

// Puts back the settings the airport's learned file had changed.
void restoreAirportSettings(const LoadedAirport& airport, const AirportFileServices& services);

}  // namespace corv::airports
