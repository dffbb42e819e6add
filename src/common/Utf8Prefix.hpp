#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corv::common {

// The first maxCharacters characters of a UTF-8 text, never cut inside a character (a cut
// sequence would make the text invalid wherever it is shown or saved).
inline std::string utf8Prefix(std::string_view text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const bool continuation = (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
        if (!continuation && characters++ == maxCharacters) return std::string(text.substr(0, at));
    }
    return std::string(text);
}

}  // namespace corv::common
