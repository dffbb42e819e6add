#include "airports/CatalogueAirport.hpp"

#include <fmt/format.h>

namespace corv::airports {

std::string airportLabel(const CatalogueAirport& airport) {
    if (airport.code.empty()) return "?";
    if (airport.iata.empty() || airport.iata.view() == "XXX") return airport.code.str();
    return fmt::format("{} ({})", airport.code, airport.iata);
}

std::string airportLabel(const CatalogueAirport* airport) {
    return airport == nullptr ? std::string("?") : airportLabel(*airport);
}

}  // namespace corv::airports
