#pragma once

#include <cstddef>
#include <string>

namespace corv::scan {

// How many characters a std::string holds in itself, without an allocation, in the standard
// libraries the program is built with.
constexpr std::size_t inPlaceTextRoom = 15;

// Sets the text to the first `size` characters. At least inPlaceTextRoom characters must be
// readable: a text that fits in place is then copied as one block of constant size, which
// costs a few moves instead of a copy loop, and the characters behind it are cut off after.
inline void assignText(std::string& text, const char* chars, std::size_t size) {
    if (size > inPlaceTextRoom) {
        text.assign(chars, size);
        return;
    }
    text.assign(chars, inPlaceTextRoom);
    text.erase(size);
}

}  // namespace corv::scan
