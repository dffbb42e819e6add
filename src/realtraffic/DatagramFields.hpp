#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace corv::realtraffic {

// Splits a record at every comma. Empty fields count; the text after the last comma is the
// last field. The views point into the text.
void splitFields(std::string_view text, std::vector<std::string_view>& fields);

// A decimal number by the from-chars rules: no leading blank or plus sign, characters after
// the number ignored. "nan" and "inf" are refused: no position or speed may be one.
std::optional<double> parseNumber(std::string_view text);

// Leading digits as an unsigned 32-bit value; nothing without a digit or above 4294967295.
std::optional<std::uint32_t> parseLeadingDigits(std::string_view text);

// Leading decimal integer (sign allowed), by the same rules as parseNumber.
std::optional<std::int64_t> parseInteger(std::string_view text);

// The text without surrounding blanks and tabs: real broadcasts carry stray ones.
std::string_view trimBlanks(std::string_view text);

}  // namespace corv::realtraffic
