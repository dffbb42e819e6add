#include "platform/AtomicFile.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corv::platform {

namespace {
std::string systemText(int error) {
    return std::strerror(error);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable.
void syncFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

std::string replaceFileAtomically(const std::filesystem::path& target, std::string_view content) {
    std::string temporary = target.string() + ".tmpXXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return systemText(errno);
    // mkstemp creates 0600; a settings file is private to the user anyway.
    if (!writeAll(fd, content) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return systemText(error);
    }
    if (::close(fd) != 0 || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemText(error);
    }
    syncFolder(target.parent_path());
    return {};
}

}  // namespace corv::platform
