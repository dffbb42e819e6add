#include "scan/StandIds.hpp"

#include <array>

#include <fmt/format.h>

namespace corv::scan {

std::string_view standNamePrefix(unsigned nameCode) noexcept {
    // Codes 1 to 9 are the plain parking and its eight compass variants N, NE … NW.
    static constexpr std::array<std::string_view, 12> named{"",   "p",   "np", "nep", "ep", "sep",
                                                            "sp", "swp", "wp", "nwp", "g",  ""};
    static constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (nameCode < named.size()) return named[nameCode];
    if (nameCode < named.size() + letters.size()) return letters.substr(nameCode - named.size(), 1);
    return "";
}

StandId suffixedStandId(ScannedAirport& airport, const StandId& candidate, ScanMessages& messages) {
    for (char suffix = 'a'; suffix <= 'j'; ++suffix) {
        const StandId id = candidate.withSuffix(suffix);
        if (airport.usedIds.insert(id)) return id;
    }
    messages.push_back(fmt::format("{}Warning: more than 10 duplicate IDs {} in {}", "===> ",
                                   candidate.text(), airport.bglPath));
    return {};
}

}  // namespace corv::scan
