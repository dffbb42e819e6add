#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "liveries/RegcodeLists.hpp"

namespace corv::liveries {

// A scanned livery as the registration index sees it.
struct TitledRegistration {
    std::string_view title;
    std::string_view registration;  // empty: the livery carries none
};

// Which livery carries which registration, and the liveries that are special: matching looks
// here first, since many liveries are painted for one airframe.
class RegistrationIndex {
  public:
    // The liveries' own registrations ("atc_id"), in list order: the first title keeps a
    // registration; each later one is a clash line "{reg} '{title}' => already in use by
    // '{first title}'".
    std::vector<std::string> addInline(const std::vector<TitledRegistration>& liveries);

    // What applying one list did.
    struct Applied {
        std::size_t added = 0;
        std::size_t replaced = 0;
        std::size_t special = 0;
        std::vector<std::string> reportLines;  // one per replaced registration
    };
    // A list's records for installed titles only; a registration given again takes the new
    // title.
    Applied apply(const RegcodeList& list, const std::unordered_set<std::string>& installedTitles);

    // The title carrying the registration; empty when none does.
    std::string titleOf(std::string_view registration) const;
    bool isSpecialTitle(std::string_view title) const { return specialTitles_.contains(title); }
    bool isSpecialRegistration(std::string_view registration) const {
        return specialRegistrations_.contains(registration);
    }
    // A special livery painted for exactly one airframe.
    bool isUniqueRegistration(std::string_view registration) const {
        return uniqueRegistrations_.contains(registration);
    }
    std::size_t specialCount() const { return specialTitles_.size(); }
    std::size_t uniqueCount() const { return uniqueRegistrations_.size(); }
    std::size_t size() const { return titleByRegistration_.size(); }

  private:
    std::map<std::string, std::string, std::less<>> titleByRegistration_;
    std::set<std::string, std::less<>> specialTitles_;
    std::set<std::string, std::less<>> specialRegistrations_;
    std::set<std::string, std::less<>> uniqueRegistrations_;
};

}  // namespace corv::liveries
