#include "services/TextFile.hpp"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>

#include <fmt/format.h>

namespace corv::services {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t utf8SampleSize = 4096;

using Bytes = std::string;

// In one read: the scan reads thousands of these files.
bool readAll(const fs::path& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

unsigned char byteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

bool isContinuation(unsigned char b) {
    return b >= 0x80 && b <= 0xBF;
}

// Strict UTF-8 check; a sequence cut off by the end of the sample is invalid.
bool isValidUtf8(std::string_view sample) {
    std::size_t i = 0;
    while (i < sample.size()) {
        const unsigned char lead = byteAt(sample, i);
        std::size_t continuations = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            continuations = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuations = 2;
            if (lead == 0xE0) secondLow = 0xA0;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuations = 3;
            if (lead == 0xF0) secondLow = 0x90;
            if (lead == 0xF4) secondHigh = 0x8F;
        } else {
            return false;
        }
        if (i + continuations >= sample.size()) return false;
        const unsigned char second = byteAt(sample, i + 1);
        if (second < secondLow || second > secondHigh) return false;
        for (std::size_t k = 2; k <= continuations; ++k) {
            if (!isContinuation(byteAt(sample, i + k))) return false;
        }
        i += continuations + 1;
    }
    return true;
}

void splitLines(std::string_view text, std::vector<std::string>& lines) {
    while (!text.empty()) {
        const auto newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (newline == std::string_view::npos) break;
        text.remove_prefix(newline + 1);
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 little-endian code units (after any byte swap) to UTF-8.
std::string wideToUtf8(std::string_view units) {
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(byteAt(units, 2 * i) | (byteAt(units, 2 * i + 1) << 8));
    };
    const std::size_t count = units.size() / 2;
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const char16_t low = i + 1 < count ? unitAt(i + 1) : char16_t{0};
            if (low < 0xDC00 || low > 0xDFFF)
                throw std::runtime_error("wide_to_utf8: invalid UTF-16");
            appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            throw std::runtime_error("wide_to_utf8: invalid UTF-16");
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}
}  // namespace

std::string_view charsetName(Charset charset) {
    switch (charset) {
        case Charset::Ansi:
            return "ANSI";
        case Charset::Unicode:
            return "Unicode";
        case Charset::UnicodeBigEndian:
            return "Unicode_big_endian";
        case Charset::Utf8WithBom:
            return "UTF8_with_BOM";
        case Charset::Utf8WithoutBom:
            return "UTF8_without_BOM";
        case Charset::NoneFound:
            return "none_found";
    }
    return "unknown";
}

Charset detectCharsetOf(std::string_view bytes) {
    const std::string_view sample = bytes.substr(0, utf8SampleSize);
    const std::size_t n = std::min<std::size_t>(sample.size(), 4);
    const auto b = [&](std::size_t i) { return i < n ? byteAt(sample, i) : 0u; };
    if (n >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) return Charset::Utf8WithBom;
    if (n >= 2 && b(0) == 0xFF && b(1) == 0xFE) return Charset::Unicode;
    if (n >= 2 && b(0) == 0xFE && b(1) == 0xFF) return Charset::UnicodeBigEndian;
    // Two ASCII characters in UTF-16 put a zero byte on one side.
    if (n >= 2 && b(1) == 0 && (n <= 3 || b(3) == 0)) return Charset::Unicode;
    if (n >= 1 && b(0) == 0 && (n <= 3 || b(2) == 0)) return Charset::UnicodeBigEndian;
    return isValidUtf8(sample) ? Charset::Utf8WithoutBom : Charset::Ansi;
}

Charset detectCharset(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Charset::NoneFound;
    std::string sample(utf8SampleSize, '\0');
    in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
    sample.resize(static_cast<std::size_t>(in.gcount()));
    return detectCharsetOf(sample);
}

void decodeLines(Charset charset, std::string& bytes, std::vector<std::string>& lines) {
    lines.clear();
    switch (charset) {
        case Charset::Unicode:
        case Charset::UnicodeBigEndian: {
            const bool littleMark =
                bytes.size() >= 2 && byteAt(bytes, 0) == 0xFF && byteAt(bytes, 1) == 0xFE;
            const bool bigMark =
                bytes.size() >= 2 && byteAt(bytes, 0) == 0xFE && byteAt(bytes, 1) == 0xFF;
            // Without a byte-order mark the byte order is a guess; better no lines than wrong ones.
            if ((!littleMark && !bigMark) || bytes.size() % 2 != 0) return;
            if (bigMark) {
                for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
                    std::swap(bytes[i], bytes[i + 1]);
            }
            splitLines(wideToUtf8(std::string_view(bytes).substr(2)), lines);
            return;
        }
        case Charset::Utf8WithBom:
            splitLines(bytes, lines);
            if (!lines.empty() && lines.front().size() > 2 &&
                lines.front().starts_with("\xEF\xBB\xBF")) {
                lines.front().erase(0, 3);
            }
            return;
        case Charset::Utf8WithoutBom:
        case Charset::Ansi:
            splitLines(bytes, lines);
            return;
        case Charset::NoneFound:
            break;
    }
    throw std::runtime_error(fmt::format("unknown charset: {}", charsetName(charset)));
}

bool readLines(Charset charset, const fs::path& path, std::vector<std::string>& lines) {
    lines.clear();
    if (charset == Charset::NoneFound) {
        throw std::runtime_error(
            fmt::format("file {} has unknown charset: {}", path.string(), charsetName(charset)));
    }
    Bytes bytes;
    if (!readAll(path, bytes)) return false;
    decodeLines(charset, bytes, lines);
    return true;
}

Charset readTextLines(const fs::path& path, std::vector<std::string>& lines) {
    lines.clear();
    Bytes bytes;
    if (!readAll(path, bytes)) return Charset::NoneFound;
    const Charset charset = detectCharsetOf(bytes);
    decodeLines(charset, bytes, lines);
    return charset;
}

}  // namespace corv::services
