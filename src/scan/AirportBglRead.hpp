#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace corv::scan {

// True when the bytes have an airport section (header size and section flags are not looked
// at). fileLength is the length of the whole file, of which the bytes may be the start.
bool isAirportBgl(std::span<const std::uint8_t> bytes, std::uintmax_t fileLength);

// The whole scenery file, read into the buffer, when it has an airport section; nothing for
// any other file or one that cannot be read. Only the header and the section headers of other
// files are read: scenery files can be large. The buffer only grows, so that a scan reads
// file after file into the same storage.
std::optional<std::span<const std::uint8_t>> readAirportBgl(const std::filesystem::path& path,
                                                            std::vector<std::uint8_t>& buffer);

}  // namespace corv::scan
