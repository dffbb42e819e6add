#include "liveries/AirlineNames.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace corv::liveries {

namespace {
using Entry = std::pair<std::string_view, std::string_view>;
// Sorted by code.
constexpr std::array names{
    Entry{"AAL", "American"},   Entry{"ACA", "Canada"},       Entry{"AFR", "France"},
    Entry{"ASA", "Alaska"},     Entry{"ASH", "Mesa"},         Entry{"AVA", "Avianca"},
    Entry{"BAW", "British"},    Entry{"BOX", "Aerologic"},    Entry{"CAI", "Corendon"},
    Entry{"CFE", "Cityflyer"},  Entry{"DAE", "DHL Aero"},     Entry{"DAL", "Delta"},
    Entry{"DHK", "DHL Air"},    Entry{"EDV", "Endeavor"},     Entry{"EZY", "easyjet"},
    Entry{"FDX", "FedEx"},      Entry{"FJO", "Flexjet"},      Entry{"GJS", "GoJet"},
    Entry{"IBE", "Iberia"},     Entry{"JIA", "PSA Airlines"}, Entry{"JZA", "Jazz"},
    Entry{"KLC", "Cityhopper"}, Entry{"LRC", "Avianca"},      Entry{"PDT", "Piedmont"},
    Entry{"PRM", "Prime"},      Entry{"QLK", "Quantaslink"},  Entry{"QXE", "Horizon"},
    Entry{"RPA", "Republic"},   Entry{"RYR", "Ryanair"},      Entry{"SKW", "SkyWest"},
    Entry{"SWA", "Southwest"},  Entry{"UAL", "United"},       Entry{"UPS", "UPS"},
    Entry{"VJT", "VistaJet"},   Entry{"WJA", "WestJet"},
};
static_assert(std::is_sorted(names.begin(), names.end()));
}  // namespace

std::optional<std::string_view> airlineName(std::string_view code) {
    const auto found =
        std::lower_bound(names.begin(), names.end(), code,
                         [](const Entry& e, std::string_view c) { return e.first < c; });
    if (found == names.end() || found->first != code) return std::nullopt;
    return found->second;
}

}  // namespace corv::liveries
