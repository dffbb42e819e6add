#include "airports/AirportCatalogue.hpp"

#include <algorithm>

namespace corv::airports {

bool AirportCatalogue::isRtSupported(std::string_view code) const {
    return common::isValidFixedCode<4>(code) && isRtSupported(AirportCode(code));
}

const CatalogueAirport* AirportCatalogue::findAirport(const AirportCode& code) const {
    const auto found = std::find_if(airports_.begin(), airports_.end(),
                                    [&](const CatalogueAirport& a) { return a.code == code; });
    return found == airports_.end() ? nullptr : &*found;
}

std::string AirportCatalogue::label(const AirportCode& code) const {
    if (const CatalogueAirport* airport = findAirport(code)) return airportLabel(*airport);
    return code.empty() ? std::string("?") : code.str();
}

void AirportCatalogue::assign(std::vector<CatalogueAirport> airports) {
    // Stable, so a code given twice keeps the file's order and findAirport the first of them.
    std::stable_sort(
        airports.begin(), airports.end(),
        [](const CatalogueAirport& a, const CatalogueAirport& b) { return a.code < b.code; });
    airports.shrink_to_fit();
    airports_ = std::move(airports);
    codes_.clear();
    codes_.reserve(airports_.size());
    for (const CatalogueAirport& airport : airports_)
        codes_.insert(airport.code);
    read_ = true;
}

}  // namespace corv::airports
