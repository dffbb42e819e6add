#pragma once

#include <filesystem>
#include <list>
#include <string>

#include "airports/AirportCatalogue.hpp"
#include "common/GreatCircle.hpp"
#include "services/MessageLine.hpp"

namespace corv::airports {

// One airport the user may park at; its reserved stand is kept free for the user.
struct ParkAirportEntry {
    std::string reservedStand;
    double latitude = 0.0;
    double longitude = 0.0;
    double distance = 0.0;  // nm from the user
    AirportCode code;
};

// The airports static parking may happen at when the user flies, nearest (or the destination)
// first, kept in "airports/my_park_airports.txt" with their reserved stands.
class ParkAirportList {
  public:
    ParkAirportList(std::filesystem::path workFolder, const AirportCatalogue& catalogue);

    // False when an airport is unknown to the catalogue or the file could not be read; the
    // airports of airports/my_thirdparty are added after those of the file.
    bool lf_readMyParkAirports(services::MessageLine& messages);
    // Writes the first airport's line into the file (replacing its earlier line).
    void writeParkAirportLine();
    // The distances from the user; sorted nearest first unless a destination leads.
    void updateParkAirportDistances(const common::GeoPoint& user, bool destinationSet);
    // Puts the airport first: the one the user flies to.
    void setDestination(const CatalogueAirport& airport);

    std::list<ParkAirportEntry>& entries() { return entries_; }
    const ParkAirportEntry* first() const { return entries_.empty() ? nullptr : &entries_.front(); }

    static constexpr const char* fileName = "my_park_airports.txt";

  private:
    void addMyThirdpartyAirports();
    bool contains(const AirportCode& code) const;

    std::filesystem::path file_;
    std::filesystem::path workFolder_;
    const AirportCatalogue& catalogue_;
    std::list<ParkAirportEntry> entries_;
    common::GeoPoint lastPosition_{1000.0, 1000.0};
};

}  // namespace corv::airports
