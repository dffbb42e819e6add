#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

#include <fmt/format.h>

namespace corv::common {

// An airport (N = 4) or IATA (N = 3) code: exactly N characters of A-Z and 0-9, stored
// without terminator. Lower-case letters are accepted and upper-cased.
template <std::size_t N>
class FixedCode {
    static_assert(N == 3 || N == 4);

  public:
    FixedCode() = default;  // the empty code

    // Throws std::invalid_argument "'{}' FixedCode: invalid string (length/charset)".
    explicit FixedCode(std::string_view text);

    bool empty() const noexcept { return chars_[0] == '\0'; }
    std::string_view view() const noexcept { return {chars_.data(), empty() ? 0 : N}; }
    std::string str() const { return std::string(view()); }
    const std::array<char, N>& bytes() const noexcept { return chars_; }

    friend bool operator==(const FixedCode&, const FixedCode&) = default;
    friend auto operator<=>(const FixedCode&, const FixedCode&) = default;

  private:
    std::array<char, N> chars_{};
};

// Builds the code when the text is valid, without throwing.
template <std::size_t N>
bool isValidFixedCode(std::string_view text) noexcept;

extern template class FixedCode<3>;
extern template class FixedCode<4>;

}  // namespace corv::common

// Messages print an empty code as four blanks.
template <std::size_t N>
struct fmt::formatter<corv::common::FixedCode<N>> : fmt::formatter<std::string_view> {
    auto format(const corv::common::FixedCode<N>& code, fmt::format_context& ctx) const {
        return fmt::formatter<std::string_view>::format(
            code.empty() ? std::string_view("    ") : code.view(), ctx);
    }
};
