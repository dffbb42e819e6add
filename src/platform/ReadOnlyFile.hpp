#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corv::platform {

// A file opened for reading with the system's own calls: no stream buffer, locale or
// allocation between the file and the caller's memory. Scans read thousands of files; the path
// is the system's own text, so that opening one builds nothing.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const char* path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const noexcept { return descriptor_ >= 0; }
    // The file's length; nothing when it cannot be told.
    std::optional<std::uintmax_t> length() const;
    // Reads up to count bytes into out and returns how many it read: fewer only at the end of
    // the file or on a read error.
    std::size_t read(std::uint8_t* out, std::size_t count);

  private:
    int descriptor_ = -1;
};

}  // namespace corv::platform
