#include "common/FixedCode.hpp"

#include <stdexcept>

namespace corv::common {

namespace {
char upperCodeChar(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isCodeChar(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
}  // namespace

template <std::size_t N>
bool isValidFixedCode(std::string_view text) noexcept {
    if (text.size() != N) return false;
    for (char c : text) {
        if (!isCodeChar(upperCodeChar(c))) return false;
    }
    return true;
}

template <std::size_t N>
FixedCode<N>::FixedCode(std::string_view text) {
    if (!isValidFixedCode<N>(text)) {
        throw std::invalid_argument(
            fmt::format("'{}' FixedCode: invalid string (length/charset)", text));
    }
    for (std::size_t i = 0; i < N; ++i)
        chars_[i] = upperCodeChar(text[i]);
}

template class FixedCode<3>;
template class FixedCode<4>;
template bool isValidFixedCode<3>(std::string_view) noexcept;
template bool isValidFixedCode<4>(std::string_view) noexcept;

}  // namespace corv::common
