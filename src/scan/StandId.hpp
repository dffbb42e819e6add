#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace corv::scan {

// A stand id as the scan gives it: a name prefix of at most three letters, a stand number of
// at most four digits and maybe one suffix letter, so never more than eight characters. The
// characters are packed into one number, first character lowest, so that ids are built and
// compared without text. Inline: every parking spot of a scan makes one.
class StandId {
  public:
    static constexpr std::size_t capacity = 8;

    // No id at all.
    StandId() noexcept = default;

    // The prefix followed by the number in decimal.
    static StandId candidate(std::string_view prefix, unsigned number) noexcept {
        // Room for a suffix stays: prefixes have at most three letters and stand numbers
        // twelve bits; anything longer is cut rather than spilt out of the id.
        const std::size_t prefixSize = std::min<std::size_t>(prefix.size(), 3);
        std::uint64_t packed = 0;
        for (std::size_t i = 0; i < prefixSize; ++i)
            packed |= std::uint64_t{static_cast<unsigned char>(prefix[i])} << (8 * i);
        // From the last digit up, each pushing the ones after it one byte further.
        std::uint64_t digits = 0;
        unsigned rest = std::min(number, 9999U);
        do {
            digits = digits << 8 | ('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        return StandId(packed | digits << (8 * prefixSize));
    }

    // This id with the letter behind it.
    StandId withSuffix(char letter) const noexcept {
        const std::size_t length = size();
        if (length == capacity) return *this;
        return StandId(packed_ | std::uint64_t{static_cast<unsigned char>(letter)} << (8 * length));
    }

    // Ids never hold a NUL, so different ids differ here and only the empty id is 0.
    std::uint64_t packed() const noexcept { return packed_; }
    bool empty() const noexcept { return packed_ == 0; }
    std::size_t size() const noexcept {
        return static_cast<std::size_t>(64 - std::countl_zero(packed_) + 7) / 8;
    }

    // Written into the text in place, for a stand that keeps the id.
    void assignTo(std::string& text) const {
        std::array<char, capacity> chars{};
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(chars.data(), &packed_, capacity);
        } else {
            for (std::size_t i = 0; i < capacity; ++i)
                chars[i] = static_cast<char>(packed_ >> (8 * i));
        }
        // A copy of constant size is a single move; the NULs behind the id are cut off after.
        text.assign(chars.data(), capacity);
        text.erase(size());
    }
    std::string text() const {
        std::string text;
        assignTo(text);
        return text;
    }

  private:
    explicit StandId(std::uint64_t packed) noexcept : packed_(packed) {}

    std::uint64_t packed_ = 0;
};

}  // namespace corv::scan
