// Encrypts and decrypts the program's data files with the key of the build configuration.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/EncryptedFile.hpp"

namespace {

constexpr const char* usage =
    "usage: datapack encrypt INPUT OUTPUT [--key HEX]\n"
    "       datapack decrypt INPUT OUTPUT [--key HEX]\n"
    "\n"
    "Encrypts a file into the program's data-file format (libsodium secretstream,\n"
    "XChaCha20-Poly1305, 4096-byte messages) or decrypts one. The key is the one this\n"
    "tool was built with, or the 64 hex digits given with --key.\n";

std::optional<corv::data::SecretKey> keyFromHex(std::string_view hex) {
    corv::data::SecretKey key{};
    if (hex.size() != 2 * key.size()) return std::nullopt;
    for (std::size_t i = 0; i < key.size(); ++i) {
        unsigned value = 0;
        for (char c : hex.substr(2 * i, 2)) {
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        key[i] = static_cast<unsigned char>(value);
    }
    return key;
}

int fail(const std::string& message, int code) {
    std::fprintf(stderr, "datapack: %s\n", message.c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    corv::data::SecretKey key = corv::data::programKey();
    if (arguments.size() == 5 && arguments[3] == "--key") {
        const auto given = keyFromHex(arguments[4]);
        if (!given) return fail("--key needs 64 hex digits", 2);
        key = *given;
        arguments.resize(3);
    }
    if (arguments.size() != 3 || (arguments[0] != "encrypt" && arguments[0] != "decrypt")) {
        std::fputs(usage, stderr);
        return 2;
    }
    const std::filesystem::path input = arguments[1];
    const std::filesystem::path output = arguments[2];
    try {
        if (arguments[0] == "encrypt") {
            corv::data::streamEncrypt(key, input, output);
        } else {
            corv::data::gf_streamDecrypt(key, input, output);
        }
        return 0;
    } catch (const std::exception& e) {
        // Never leave a half-written file behind.
        std::error_code ec;
        if (std::filesystem::exists(input, ec)) std::filesystem::remove(output, ec);
        const std::string hint = std::strcmp(e.what(), "Decryption failed") == 0
                                     ? " (wrong key, or the file is damaged)"
                                     : "";
        return fail(std::string(e.what()) + hint, 1);
    }
}
