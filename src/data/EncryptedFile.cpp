#include "data/EncryptedFile.hpp"

#include <sodium.h>

#include <exception>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "data/DataKey.hpp"
#include "services/Log.hpp"

namespace corv::data {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t messageBytes = 4096;
constexpr std::size_t chunkBytes = messageBytes + crypto_secretstream_xchacha20poly1305_ABYTES;
constexpr std::size_t headerBytes = crypto_secretstream_xchacha20poly1305_HEADERBYTES;

void initialiseSodium() {
    if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
}

// The plain data are the publisher's: only the user may read them while they exist.
std::ofstream openPrivateOutput(const fs::path& output) {
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("Could not open output file: " + output.string());
    std::error_code ec;
    fs::permissions(output, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace, ec);
    return out;
}

std::size_t readUpTo(std::ifstream& in, std::vector<unsigned char>& buffer) {
    in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
    return static_cast<std::size_t>(in.gcount());
}
}  // namespace

const SecretKey& programKey() {
    static const SecretKey key = dataKey;
    return key;
}

void gf_streamDecrypt(const SecretKey& key, const fs::path& input, const fs::path& output) {
    initialiseSodium();
    std::ifstream in(input, std::ios::binary);
    if (!in) throw std::runtime_error("Could not open input file: " + input.string());
    std::ofstream out = openPrivateOutput(output);

    std::vector<unsigned char> header(headerBytes);
    crypto_secretstream_xchacha20poly1305_state state;
    if (readUpTo(in, header) != headerBytes ||
        crypto_secretstream_xchacha20poly1305_init_pull(&state, header.data(), key.data()) != 0) {
        throw std::runtime_error("Invalid header or key");
    }
    std::vector<unsigned char> chunk(chunkBytes);
    std::vector<unsigned char> plain(messageBytes);
    for (;;) {
        const std::size_t read = readUpTo(in, chunk);
        if (read == 0) break;
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(&state, plain.data(), &plainLength, &tag,
                                                       chunk.data(), read, nullptr, 0) != 0) {
            throw std::runtime_error("Decryption failed");
        }
        out.write(reinterpret_cast<const char*>(plain.data()),
                  static_cast<std::streamsize>(plainLength));
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) break;
    }
    out.flush();
    if (!out) throw std::runtime_error("Could not write output file: " + output.string());
}

bool decryptToFile(const fs::path& input, const fs::path& output) {
    try {
        gf_streamDecrypt(programKey(), input, output);
        return true;
    } catch (const std::exception& e) {
        services::log("{} exception: {}", "gf_streamDecrypt", e.what());
        return false;
    }
}

void streamEncrypt(const SecretKey& key, const fs::path& input, const fs::path& output) {
    initialiseSodium();
    std::ifstream in(input, std::ios::binary);
    if (!in) throw std::runtime_error("Could not open input file: " + input.string());
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("Could not open output file: " + output.string());

    std::vector<unsigned char> header(headerBytes);
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, header.data(), key.data());
    out.write(reinterpret_cast<const char*>(header.data()),
              static_cast<std::streamsize>(header.size()));

    // Read one message ahead, so the last one can carry the final tag.
    std::vector<unsigned char> current(messageBytes);
    std::vector<unsigned char> next(messageBytes);
    std::size_t currentLength = readUpTo(in, current);
    std::vector<unsigned char> chunk(chunkBytes);
    for (;;) {
        const std::size_t nextLength = currentLength == messageBytes ? readUpTo(in, next) : 0;
        const bool last = nextLength == 0;
        unsigned long long chunkLength = 0;
        crypto_secretstream_xchacha20poly1305_push(
            &state, chunk.data(), &chunkLength, current.data(), currentLength, nullptr, 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                 : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        out.write(reinterpret_cast<const char*>(chunk.data()),
                  static_cast<std::streamsize>(chunkLength));
        if (last) break;
        std::swap(current, next);
        currentLength = nextLength;
    }
    out.flush();
    if (!out) throw std::runtime_error("Could not write output file: " + output.string());
}

}  // namespace corv::data
