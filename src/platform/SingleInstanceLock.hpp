#pragma once

#include <filesystem>

namespace corv::platform {

// Held for the life of the process; a second process cannot take it while the first lives,
// and the system frees it when the holder dies, however it dies.
class SingleInstanceLock {
  public:
    SingleInstanceLock() = default;
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
    ~SingleInstanceLock();

    // False when another process holds the lock (or the lock file cannot be made).
    bool tryAcquire(const std::filesystem::path& lockFile);
    bool held() const noexcept { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace corv::platform
