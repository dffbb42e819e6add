#include "sim/ConnectionCheck.hpp"

#include <cctype>

#include <fmt/format.h>

#include "common/UserErrorException.hpp"

namespace corv::sim {

namespace {
constexpr int wrongSimulatorCode = 78;

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}
}  // namespace

std::string cleanSimulatorName(const std::string& name) {
    std::string cleaned;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        // Bytes of multi-byte characters are above 127 and never letters here.
        if (byte < 128 && (std::isalnum(byte) != 0 || std::isspace(byte) != 0)) cleaned += c;
    }
    return cleaned;
}

std::string simulatorDisplayText(const OpenMessage& open) {
    const std::string name = cleanSimulatorName(open.applicationName);
    if (name == "KittyHawk" || name == "SunRise") {
        throw UserErrorException(wrongSimulatorCode,
                                 name + ", (MSFS) not being P3D connects ... ?");
    }
    return fmt::format("{} ({}.{}.{}.{})", name, open.versionMajor, open.versionMinor,
                       open.buildMajor, open.buildMinor);
}

void checkSimulatorVersion(const std::string& displayText, const std::string& installPath,
                           int expectedMajor) {
    const bool v5 =
        contains(displayText, "v5") &&
        (contains(installPath, "v5") || contains(installPath, "V5") || expectedMajor == 5);
    const bool v6 =
        contains(displayText, "v6") &&
        (contains(installPath, "v6") || contains(installPath, "V6") || expectedMajor == 6);
    if (!v5 && !v6) {
        throw UserErrorException(
            wrongSimulatorCode, fmt::format("wrong P3D version '{}' connects ... ?)", displayText));
    }
}

}  // namespace corv::sim
