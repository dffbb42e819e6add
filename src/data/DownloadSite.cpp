#include "data/DownloadSite.hpp"

#include "data/DownloadSiteBase.hpp"

namespace corv::data {

std::string downloadSiteBase(const char* overrideValue) {
    std::string base = (overrideValue != nullptr && overrideValue[0] != '\0')
                           ? overrideValue
                           : configuredDownloadSite;
    // Site paths are appended as they are.
    if (!base.empty() && !base.ends_with('/')) base += '/';
    return base;
}

}  // namespace corv::data
