#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corv::scan {

// The whole scenery file (path as UTF-8), read into the buffer, when it has an airport section;
// nothing for any other file or one that cannot be read. Only the header and the section headers of
// other files are read: scenery files can be large. The buffer only grows, so that a scan reads
// file after file into the same storage.
std::optional<std::span<const std::uint8_t>> readAirportBgl(const std::string& path,
                                                            std::vector<std::uint8_t>& buffer);

}  // namespace corv::scan
