#pragma once

#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "liveries/RegistrationIndex.hpp"

namespace corv::services {
class MessageLine;
}

namespace corv::liveries {

// Where the registration-code lists and their reports live.
struct RegcodeFolders {
    std::filesystem::path input;   // "AIG-regcodes.enc" and the user's "my_regcodes" folder
    std::filesystem::path info;    // "OfflineRegcodes.txt"
    std::filesystem::path errors;  // "InlineRegcodes.txt"
};

// The registrations the scanned liveries carry themselves; clashes go to InlineRegcodes.txt.
void applyInlineRegcodes(RegistrationIndex& index, const std::vector<TitledRegistration>& liveries,
                         const RegcodeFolders& folders);

// Once at program start, after the in-line ones: the shipped list, then the user's lists.
// Replaced registrations go to OfflineRegcodes.txt; the decrypted list never stays on disk.
void applyOfflineRegcodes(RegistrationIndex& index,
                          const std::unordered_set<std::string>& installedTitles,
                          const RegcodeFolders& folders, services::MessageLine& messages);

// Before every scan: the titles that are never to become liveries, from both kinds of list.
std::vector<std::string> loadDontUseTitles(const RegcodeFolders& folders,
                                           services::MessageLine& messages);

}  // namespace corv::liveries
