#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corv::services {

// Text encodings of files of unknown origin (aircraft.cfg files, link files).
enum class Charset : std::int32_t {
    Ansi = 0,
    Unicode = 1,           // UTF-16 little-endian
    UnicodeBigEndian = 2,  // UTF-16 big-endian
    Utf8WithBom = 3,
    Utf8WithoutBom = 4,  // also pure ASCII and empty files
    NoneFound = 5,       // the file cannot be opened
};

std::string_view charsetName(Charset charset);

Charset detectCharset(const std::filesystem::path& path);

// Reads the file as lines in UTF-8 (ANSI bytes are passed through unconverted). Lines are split
// at "\n" without a trailing "\r". False when the file cannot be opened. Throws
// std::runtime_error for NoneFound or an unknown charset, and for invalid UTF-16.
bool readLines(Charset charset, const std::filesystem::path& path, std::vector<std::string>& lines);

// Reads the file once, detects its encoding from the bytes and splits it into UTF-8 lines as
// readLines does. Returns the encoding found, NoneFound when the file cannot be read. Throws
// std::runtime_error for invalid UTF-16.
Charset readTextLines(const std::filesystem::path& path, std::vector<std::string>& lines);

}  // namespace corv::services
