#pragma once

#include <string>

namespace corv::data {

// The environment variable that points the program at another download site (a local one for
// tests and the demo), for example "http://127.0.0.1:8123/".
inline constexpr const char* downloadSiteVariable = "CORVANE_DOWNLOAD_SITE";

// The base location of the download site, ending in "/": the override when it is set and not
// empty, else the one configured in the build.
std::string downloadSiteBase(const char* overrideValue);

}  // namespace corv::data
