#pragma once

#include <array>
#include <filesystem>

namespace corv::data {

// The one secret key of the shipped data files (from the build configuration).
using SecretKey = std::array<unsigned char, 32>;
const SecretKey& programKey();

// Decrypts a secretstream file (24-byte header, then chunks of at most 4096 plaintext bytes
// plus 17 bytes of authentication) into the output file, which only the user may read.
// Throws std::runtime_error: "Could not open input file: {path}", "Could not open output file:
// {path}", "Invalid header or key", "Decryption failed".
void gf_streamDecrypt(const SecretKey& key, const std::filesystem::path& input,
                      const std::filesystem::path& output);

// The same with the program's key; failures are logged ("gf_streamDecrypt exception: ...") and
// reported as false.
bool decryptToFile(const std::filesystem::path& input, const std::filesystem::path& output);

// The push side: encrypts a file in 4096-byte messages, the last one tagged final.
// Throws std::runtime_error when a file cannot be read or written.
void streamEncrypt(const SecretKey& key, const std::filesystem::path& input,
                   const std::filesystem::path& output);

}  // namespace corv::data
