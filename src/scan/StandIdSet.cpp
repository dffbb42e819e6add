#include "scan/StandIdSet.hpp"

#include <bit>
#include <functional>
#include <utility>

namespace corv::scan {

// At most half the slots are taken, so that a probe ends soon.
void StandIdSet::reserve(std::size_t count) {
    const std::size_t wanted = std::bit_ceil(2 * (size_ + count));
    if (wanted > ids_.size()) grow(wanted);
}

bool StandIdSet::insert(std::string_view id) {
    reserve(1);
    const std::size_t slot = slotOf(id);
    if (taken_[slot]) return false;
    ids_[slot] = id;
    taken_[slot] = 1;
    ++size_;
    return true;
}

// The slot that holds the id, or the free one where it belongs (the table always has one).
std::size_t StandIdSet::slotOf(std::string_view id) const {
    const std::size_t mask = ids_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(id)&mask;
    while (taken_[slot] && ids_[slot] != id)
        slot = (slot + 1) & mask;
    return slot;
}

void StandIdSet::grow(std::size_t slots) {
    std::vector<std::string> ids = std::exchange(ids_, std::vector<std::string>(slots));
    const std::vector<std::uint8_t> taken = std::exchange(taken_, std::vector<std::uint8_t>(slots));
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (!taken[i]) continue;
        const std::size_t slot = slotOf(ids[i]);
        ids_[slot] = std::move(ids[i]);
        taken_[slot] = 1;
    }
}

}  // namespace corv::scan
