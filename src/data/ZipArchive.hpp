#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

struct zip;

namespace corv::data {

// One zip archive held open through libzip; an archive still open at the end is discarded,
// so nothing half-written is left behind.
class ZipArchive {
  public:
    enum class Mode { Read, Create };  // Create replaces an existing file

    ZipArchive(const std::filesystem::path& path, Mode mode);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const noexcept { return archive_ != nullptr; }
    // libzip's error code of a failed open, 0 when open.
    int openError() const noexcept { return openError_; }

    std::int64_t entryCount() const;
    std::string entryName(std::int64_t index) const;

    // Copies an entry into out in blocks of blockSize bytes. Returns 0, or libzip's error code
    // (a failed write to out counts as ZIP_ER_WRITE).
    int extractEntry(std::int64_t index, std::ostream& out, std::size_t blockSize) const;

    // The archive reads the bytes only when it is closed, so they must live until then.
    bool add(const std::string& name, const std::vector<char>& bytes);
    // Writes what was added; an archive without entries is not written at all.
    bool close();

  private:
    struct zip* archive_ = nullptr;
    int openError_ = 0;
};

}  // namespace corv::data
