#include "liveries/LiveryChoice.hpp"

namespace corv::liveries {

namespace {
constexpr int triesBeforeFiltering = 5;
}

std::size_t LiveryChoice::pick(std::size_t count) const {
    return random_ && count >= 2 ? source_.below(count) : 0;
}

std::string_view LiveryChoice::choose(const TitleList& candidates) const {
    if (candidates.empty()) return {};
    std::string_view tried;
    // Special liveries are rare, so a few blind tries nearly always avoid them cheaply.
    for (int attempt = 0; attempt < triesBeforeFiltering; ++attempt) {
        tried = candidates[pick(candidates.size())];
        if (!registrations_.isSpecialTitle(tried)) return tried;
    }
    TitleList ordinary;
    for (const std::string_view title : candidates) {
        if (!registrations_.isSpecialTitle(title)) ordinary.push_back(title);
    }
    if (ordinary.empty()) return tried;
    return ordinary[pick(ordinary.size())];
}

}  // namespace corv::liveries
