#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scan/StandId.hpp"

namespace corv::scan {

// The stand ids given at one airport. Open addressing over the packed ids, inline: an airport
// gives hundreds of them, and every parking spot of a scan asks at least once.
class StandIdSet {
  public:
    // Room for count more ids without growing.
    void reserve(std::size_t count);

    // False when the id was given before.
    bool insert(const StandId& id) {
        // At most half the slots are taken, so that a probe ends soon.
        if (2 * (size_ + 1) > slots_.size()) reserve(1);
        const std::uint64_t packed = id.packed();
        const std::size_t slot = slotOf(packed);
        if (slots_[slot] == packed) return false;
        slots_[slot] = packed;
        ++size_;
        return true;
    }

    std::size_t size() const noexcept { return size_; }

  private:
    // The slot that holds the id, or the free one where it belongs (the table always has one).
    std::size_t slotOf(std::uint64_t packed) const noexcept {
        const std::size_t mask = slots_.size() - 1;
        // Fibonacci hashing: the characters sit in the low bytes, the product's high bits mix
        // them.
        std::size_t slot = static_cast<std::size_t>((packed * 0x9E3779B97F4A7C15ULL) >> 32) & mask;
        while (slots_[slot] != 0 && slots_[slot] != packed)
            slot = (slot + 1) & mask;
        return slot;
    }

    void grow(std::size_t slots);

    std::vector<std::uint64_t> slots_;  // packed ids; 0 is a free slot
    std::size_t size_ = 0;
};

}  // namespace corv::scan
