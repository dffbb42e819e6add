#include "scan/BglView.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>

namespace corv::scan {

const std::uint8_t* BglView::at(std::size_t offset, std::size_t width) const {
    if (!contains(offset, width))
        throw std::out_of_range("BGL read of " + std::to_string(width) + " bytes at " +
                                std::to_string(offset) + " beyond " +
                                std::to_string(bytes_.size()));
    return bytes_.data() + offset;
}

std::uint8_t BglView::u8(std::size_t offset) const { return *at(offset, 1); }

// Little-endian regardless of the host, and unaligned: record lengths sit at odd offsets.
std::uint16_t BglView::u16(std::size_t offset) const {
    const std::uint8_t* p = at(offset, 2);
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t BglView::u32(std::size_t offset) const {
    const std::uint8_t* p = at(offset, 4);
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::int32_t BglView::s32(std::size_t offset) const {
    return std::bit_cast<std::int32_t>(u32(offset));
}

float BglView::f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }

BglView BglView::sub(std::size_t offset, std::size_t length) const noexcept {
    if (offset >= bytes_.size()) return {};
    return BglView(bytes_.subspan(offset, std::min(length, bytes_.size() - offset)));
}

}  // namespace corv::scan
