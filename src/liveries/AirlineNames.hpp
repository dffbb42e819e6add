#pragma once

#include <optional>
#include <string_view>

namespace corv::liveries {

// The name an airline's liveries carry in their titles, for the airlines that often fly for
// others or have others fly for them; none for any other code.
std::optional<std::string_view> airlineName(std::string_view code);

}  // namespace corv::liveries
