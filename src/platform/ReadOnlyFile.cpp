#include "platform/ReadOnlyFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corv::platform {

OpenFolder::OpenFolder(const char* path)
    : descriptor_(::open(path, O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::~OpenFolder() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

ReadOnlyFile::ReadOnlyFile(const OpenFolder& folder, const char* name)
    : descriptor_(
          folder.descriptor_ < 0 ? -1 : ::openat(folder.descriptor_, name, O_RDONLY | O_CLOEXEC)) {}

ReadOnlyFile::ReadOnlyFile(const char* path) : descriptor_(::open(path, O_RDONLY | O_CLOEXEC)) {}

ReadOnlyFile::~ReadOnlyFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::optional<std::uintmax_t> ReadOnlyFile::length() const {
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) return std::nullopt;
    return static_cast<std::uintmax_t>(status.st_size);
}

std::size_t ReadOnlyFile::read(std::uint8_t* out, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(descriptor_, out + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace corv::platform
