#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace corv::platform {

// A folder held open, so that the files in it are opened by their names alone: the system
// does not walk the folder's path again for each of them.
class OpenFolder {
  public:
    explicit OpenFolder(const char* path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

  private:
    friend class ReadOnlyFile;
    int descriptor_ = -1;
};

// A file opened for reading with the system's own calls: no stream buffer, locale or
// allocation between the file and the caller's memory. Scans read thousands of files; the path
// is the system's own text, so that opening one builds nothing.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const char* path);
    // The file of that name in the folder; not open when the folder is not.
    ReadOnlyFile(const OpenFolder& folder, const char* name);
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
