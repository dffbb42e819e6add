#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corv::common {

// FNV-1a, 64 bits, over the bytes of a text: cheap and well spread for the short codes the
// code tables hold.
constexpr std::uint64_t fnv1a64(std::string_view text) noexcept {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Hasher for unordered containers keyed by text; transparent, so a std::string_view finds a
// std::string key without a copy.
struct Fnv1aHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return static_cast<std::size_t>(fnv1a64(text));
    }
};

}  // namespace corv::common
