#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "liveries/PublisherAirports.hpp"
#include "scan/ScannedAirport.hpp"

namespace corv::scan {

// What the reference data knows about add-on publishers and their archived airports.
struct PublisherLists {
    // Each publisher's names; the first one is the publisher's own.
    const std::vector<std::vector<std::string>>& publishers;
    const std::set<std::string, std::less<>>& simAddonAirports;
    const std::vector<liveries::PublisherAirports>& publisherAirports;
};

// Sets the airport's publisher from a publisher name in its scenery path ("simaddon" for ORBX);
// leaves it empty when the path names none.
void publisherFromPath(ScannedAirport& airport, const PublisherLists& lists,
                       ScanMessages& messages);

// Writes a link file to the archived airport file into airports/my_ORBX (simaddon) or
// airports/my_thirdparty when the archive holds the airport of its publisher. False when it
// wrote none, so the airport has to be decoded.
bool linkToArchive(ScannedAirport& airport, const PublisherLists& lists,
                   const std::filesystem::path& airportsFolder, ScanMessages& messages);

}  // namespace corv::scan
