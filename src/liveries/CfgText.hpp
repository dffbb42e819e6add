#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corv::liveries {

// The lines of an aircraft.cfg or sim.cfg as UTF-8, whatever its encoding; nullopt (and a log
// line) when no encoding is recognised or reading fails.
std::optional<std::vector<std::string>> readCfgLines(const std::filesystem::path& path);

bool isCfgComment(std::string_view line);

// "key = value" as the whole line, the key in any case; the value has no blanks around it
// and is never empty.
std::optional<std::string_view> cfgValue(std::string_view line, std::string_view key);

// The value of the first line of the file that sets the key.
std::optional<std::string_view> firstCfgValue(const std::vector<std::string>& lines,
                                              std::string_view key);

// A section header: the number text of "[fltsim.N]" alone on its line, or "" for a line that
// names an fltsim section in any other way (a comment after it, say).
std::optional<std::string_view> fltsimHeader(std::string_view line);

// Hands every [fltsim.N] section to `visit`, its header line first. A section ends at the
// next header or at a line whose "[" stands within its first six characters.
void forEachFltsimSection(const std::vector<std::string>& lines,
                          const std::function<void(const std::vector<std::string_view>&)>& visit);

}  // namespace corv::liveries
