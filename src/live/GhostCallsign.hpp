#pragma once

#include <string>
#include <string_view>

namespace corv::live {

// A trailing "_" marks a ghost: a second report stream of the same flight. Without it the name
// is the flight's own.
inline std::string withoutGhostMark(std::string_view name) {
    if (name.ends_with('_')) name.remove_suffix(1);
    return std::string(name);
}

}  // namespace corv::live
