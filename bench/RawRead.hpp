#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <vector>

namespace corv::bench {

// Every byte of the file, as `cat` reads it; the bytes read. What a scan is measured against.
inline std::size_t readFile(const std::filesystem::path& file) {
    static std::array<char, 1 << 16> buffer;
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    std::size_t total = 0;
    for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += static_cast<std::size_t>(got);
    ::close(fd);
    return total;
}

inline std::size_t readAll(const std::vector<std::filesystem::path>& files) {
    std::size_t total = 0;
    for (const std::filesystem::path& file : files)
        total += readFile(file);
    return total;
}

}  // namespace corv::bench
