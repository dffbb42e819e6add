#include "common/CodeTable.hpp"

#include <stdexcept>

#include <fmt/format.h>
#include <gsl/narrow>

namespace corv::common {

CodeTable::CodeTable() {
    texts_.emplace_back();
    indexes_.emplace(texts_.back(), CodeIndex{0});
}

CodeIndex CodeTable::intern(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (const auto found = indexes_.find(text); found != indexes_.end()) return found->second;
    const auto index = gsl::narrow<CodeIndex>(texts_.size());
    texts_.emplace_back(text);
    indexes_.emplace(texts_.back(), index);
    return index;
}

std::optional<CodeIndex> CodeTable::find(std::string_view text) const {
    std::lock_guard lock(mutex_);
    if (const auto found = indexes_.find(text); found != indexes_.end()) return found->second;
    return std::nullopt;
}

std::string_view CodeTable::text(CodeIndex index) const {
    std::lock_guard lock(mutex_);
    if (index >= texts_.size()) {
        throw std::out_of_range(
            fmt::format("code index {} not in the table of {}", index, texts_.size()));
    }
    return texts_[index];
}

std::size_t CodeTable::size() const {
    std::lock_guard lock(mutex_);
    return texts_.size();
}

}  // namespace corv::common
