#include "common/ModelCodeTable.hpp"

namespace corv::common {

bool ModelCodeTable::addFix(std::string_view wrong, std::string_view correct) {
    std::lock_guard lock(fixesMutex_);
    return fixes_.emplace(std::string(wrong), std::string(correct)).second;
}

std::optional<std::string> ModelCodeTable::fixOf(std::string_view code) const {
    std::lock_guard lock(fixesMutex_);
    if (const auto found = fixes_.find(code); found != fixes_.end()) return found->second;
    return std::nullopt;
}

std::size_t ModelCodeTable::fixCount() const {
    std::lock_guard lock(fixesMutex_);
    return fixes_.size();
}

CodeIndex ModelCodeTable::intern(std::string_view code) {
    if (fixing_) {
        if (const auto fixed = fixOf(code)) return codes_.intern(*fixed);
    }
    return codes_.intern(code);
}

}  // namespace corv::common
