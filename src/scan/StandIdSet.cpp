#include "scan/StandIdSet.hpp"

#include <bit>
#include <utility>

namespace corv::scan {

void StandIdSet::reserve(std::size_t count) {
    const std::size_t wanted = std::bit_ceil(2 * (size_ + count));
    if (wanted > slots_.size()) grow(wanted);
}

void StandIdSet::grow(std::size_t slots) {
    const std::vector<std::uint64_t> old = std::exchange(slots_, std::vector<std::uint64_t>(slots));
    for (const std::uint64_t packed : old)
        if (packed != 0) slots_[slotOf(packed)] = packed;
}

}  // namespace corv::scan
