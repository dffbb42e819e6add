#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corv::live {

// The airline designator an airline callsign starts with: three letters and then a digit
// ("klm1234" → "KLM"); none for registrations and other callsigns.
std::optional<std::string> airlineDesignatorOf(std::string_view callsign);

}  // namespace corv::live
