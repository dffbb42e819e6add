#pragma once

#include <bit>
#include <cstdint>

namespace corv::airports {

inline constexpr int halfHoursPerDay = 48;

// Half hours of one UTC day: bit k is the half hour that starts k * 30 minutes after 00:00.
class HalfHourSet {
  public:
    constexpr HalfHourSet() = default;
    constexpr explicit HalfHourSet(std::uint64_t bits) : bits_(bits & dayMask) {}

    // The half hours first ... last, inclusive; empty when first > last.
    static constexpr HalfHourSet range(int first, int last) {
        HalfHourSet set;
        for (int k = first; k <= last; ++k)
            set.insert(k);
        return set;
    }

    static constexpr bool isHalfHour(int index) { return index >= 0 && index < halfHoursPerDay; }

    // Indexes outside 0 ... 47 are never members.
    constexpr bool contains(int index) const {
        return isHalfHour(index) && (bits_ >> index & 1U) != 0;
    }
    constexpr void insert(int index) {
        if (isHalfHour(index)) bits_ |= std::uint64_t{1} << index;
    }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr int size() const { return std::popcount(bits_); }
    // Only meaningful for a non-empty set.
    constexpr int lowest() const { return std::countr_zero(bits_); }
    constexpr int highest() const { return 63 - std::countl_zero(bits_); }
    constexpr bool overlaps(HalfHourSet other) const { return (bits_ & other.bits_) != 0; }
    constexpr std::uint64_t bits() const { return bits_; }

    friend constexpr bool operator==(HalfHourSet, HalfHourSet) = default;

  private:
    static constexpr std::uint64_t dayMask = (std::uint64_t{1} << halfHoursPerDay) - 1;
    std::uint64_t bits_ = 0;
};

}  // namespace corv::airports
