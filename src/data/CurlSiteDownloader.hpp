#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/SiteDownloader.hpp"
#include "services/MessageLine.hpp"

namespace corv::data {

// Downloads through libcurl: a plain GET with the user agent "Corvane", where an error status of
// the server counts as failure, and https addresses with the server's certificate verified.
// The body goes into a temporary file beside the target that replaces the target only when the
// whole file arrived, so a failed or cut transfer leaves the target as it was. Needs a
// CurlGlobal to exist.
class CurlSiteDownloader final : public SiteDownloader {
  public:
    // base: the site's base location, ending in "/" (see downloadSiteBase). A transfer under
    // way fails as soon as cancel is set (the user closed the window).
    CurlSiteDownloader(std::string base, services::MessageLine& messages,
                       const std::atomic<bool>& cancel);

    bool download(std::string_view sitePath, const std::filesystem::path& target) override;
    std::string addressOf(std::string_view sitePath) const override;

  private:
    std::string base_;
    services::MessageLine& messages_;
    const std::atomic<bool>& cancel_;
};

}  // namespace corv::data
