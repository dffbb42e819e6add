#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "airports/CatalogueAirport.hpp"
#include "airports/CodeHash.hpp"

namespace corv::airports {

// Every supported airport, filled once per process and only read afterwards, so the run cycle
// reads it without a lock.
class AirportCatalogue {
  public:
    // True after the first successful reading, even when it found no airport.
    bool isRead() const noexcept { return read_; }
    bool empty() const noexcept { return airports_.empty(); }
    // Sorted by code in ascending byte order.
    const std::vector<CatalogueAirport>& airports() const noexcept { return airports_; }

    bool isRtSupported(const AirportCode& code) const { return codes_.contains(code); }
    // The same for a text; one that is no valid code is not supported.
    bool isRtSupported(std::string_view code) const;
    // The entry with that code; nullptr when there is none.
    const CatalogueAirport* findAirport(const AirportCode& code) const;
    // The airport's label, the code alone when it is not in the catalogue.
    std::string label(const AirportCode& code) const;

    // Takes the airports of a successful reading: sorts them, indexes their codes and marks the
    // catalogue read.
    void assign(std::vector<CatalogueAirport> airports);

  private:
    std::vector<CatalogueAirport> airports_;
    std::unordered_set<AirportCode, CodeHash> codes_;
    bool read_ = false;
};

}  // namespace corv::airports
