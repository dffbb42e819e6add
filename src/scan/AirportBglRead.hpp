#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/ReadOnlyFile.hpp"
#include "scan/SceneryFile.hpp"

namespace corv::scan {

// The whole scenery file, read into the buffer, when it has an airport section; nothing for
// any other file or one that cannot be read. Only the header and the section headers of other
// files are read: scenery files can be large. The buffer only grows, so that a scan reads file
// after file into the same storage.
std::optional<std::span<const std::uint8_t>> readAirportBgl(platform::ReadOnlyFile& file,
                                                            std::vector<std::uint8_t>& buffer);
std::optional<std::span<const std::uint8_t>> readAirportBgl(const SceneryFile& file,
                                                            std::vector<std::uint8_t>& buffer);

}  // namespace corv::scan
