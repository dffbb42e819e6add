#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace corv::services {

// A version "major.minor.patch", compared in that order.
struct VersionData {
    int major = 0;
    int minor = 0;
    int patch = 0;

    VersionData() = default;
    VersionData(int majorPart, int minorPart, int patchPart)
        : major(majorPart), minor(minorPart), patch(patchPart) {}

    // Parses "12.6.0" or a JSON object {"major":12,"minor":6,"patch":0}. Never throws: an
    // error is logged and the parts read before it are kept, the others stay 0.
    explicit VersionData(std::string_view text);

    // "12.6.0"
    std::string text() const;

    friend bool operator==(const VersionData&, const VersionData&) = default;
    friend auto operator<=>(const VersionData&, const VersionData&) = default;
};

}  // namespace corv::services
