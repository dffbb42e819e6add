#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

namespace corv::scan {

// Read-only window onto the bytes of a scenery file. Every read names its offset from the
// window's start and is checked (offset + width <= size); a read outside throws
// std::out_of_range, so damaged length or offset fields can never reach past the buffer.
class BglView {
  public:
    BglView() = default;
    explicit BglView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const noexcept { return bytes_.size(); }
    bool contains(std::size_t offset, std::size_t width) const noexcept {
        return offset <= bytes_.size() && width <= bytes_.size() - offset;
    }

    // Inline: a scan reads every field of every parking spot through these.
    std::uint8_t u8(std::size_t offset) const { return *at(offset, 1); }
    // Little-endian regardless of the host, and unaligned: record lengths sit at odd offsets.
    std::uint16_t u16(std::size_t offset) const {
        const std::uint8_t* p = at(offset, 2);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    std::uint32_t u32(std::size_t offset) const {
        const std::uint8_t* p = at(offset, 4);
        return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
               std::uint32_t{p[3]} << 24;
    }
    std::int32_t s32(std::size_t offset) const { return std::bit_cast<std::int32_t>(u32(offset)); }
    float f32(std::size_t offset) const { return std::bit_cast<float>(u32(offset)); }

    // The width bytes at offset, checked as a whole: for runs of bytes read one after another.
    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t width) const {
        return {at(offset, width), width};
    }

    // The part from offset on, at most length bytes long (shorter where the window ends).
    BglView sub(std::size_t offset, std::size_t length) const noexcept;

  private:
    const std::uint8_t* at(std::size_t offset, std::size_t width) const {
        if (!contains(offset, width)) throwOutOfRange(offset, width);
        return bytes_.data() + offset;
    }
    [[noreturn]] void throwOutOfRange(std::size_t offset, std::size_t width) const;

    std::span<const std::uint8_t> bytes_;
};

}  // namespace corv::scan
