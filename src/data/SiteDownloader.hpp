#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corv::data {

// The publisher's download site as the subsystems see it: plain GET of one file below the
// site's base location (for example "downloads/P3D/archive/stock/EHAM.xml").
class SiteDownloader {
public:
    virtual ~SiteDownloader() = default;

    // True when the whole file arrived at target; on false target is left as it was.
    virtual bool download(std::string_view sitePath, const std::filesystem::path& target) = 0;

    // The full address of a site path, for messages.
    virtual std::string addressOf(std::string_view sitePath) const = 0;
};

} // namespace corv::data
