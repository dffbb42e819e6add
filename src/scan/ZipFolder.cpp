#include "scan/ZipFolder.hpp"

#include <zip.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "services/Log.hpp"

namespace corv::scan {
namespace {

namespace fs = std::filesystem;

// An archive open for writing; one that is never closed is discarded.
class ZipArchive {
  public:
    explicit ZipArchive(const fs::path& path)
        : archive_(zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr)) {}
    ~ZipArchive() {
        if (archive_) zip_discard(archive_);
    }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool isOpen() const noexcept { return archive_ != nullptr; }

    // The archive reads the bytes only when it is closed, so they must live until then.
    bool add(const std::string& name, const std::vector<char>& bytes) {
        zip_source_t* source = zip_source_buffer(archive_, bytes.data(), bytes.size(), 0);
        if (!source) return false;
        if (zip_file_add(archive_, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            return false;
        }
        return true;
    }

    bool close() {
        if (zip_close(archive_) != 0) return false;
        archive_ = nullptr;
        return true;
    }

  private:
    zip_t* archive_;
};

std::unique_ptr<std::vector<char>> readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    auto bytes = std::make_unique<std::vector<char>>(std::istreambuf_iterator<char>(in),
                                                     std::istreambuf_iterator<char>());
    return in.bad() ? nullptr : std::move(bytes);
}

}  // namespace

bool zipFolder(const fs::path& folder, const fs::path& zipPath) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        services::log("[zip] Not a directory: {}", folder.string());
        return false;
    }
    if (zipPath.has_parent_path()) fs::create_directories(zipPath.parent_path());
    services::log("[zip] Target file: {}", zipPath.string());
    services::log("[zip] Source dir : {}", folder.string());
    if (fs::exists(zipPath, error)) {
        services::log("[zip] Removing old zip {}", zipPath.string());
        fs::remove(zipPath, error);
    }

    ZipArchive archive(zipPath);
    if (!archive.isOpen()) {
        services::log("[zip] Could not open archive for writing");
        return false;
    }
    std::vector<std::unique_ptr<std::vector<char>>> buffers;
    int added = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error)) continue;
        auto bytes = readWhole(entry.path());
        if (!bytes) {
            services::log("[zip] READ FAIL: {}", entry.path().string());
            continue;
        }
        const std::string name = entry.path().filename().string();
        services::log("[zip] Adding (data) {} -> {} ({} bytes)", entry.path().string(), name,
                      bytes->size());
        if (!archive.add(name, *bytes)) {
            services::log("[zip] ERROR addData({})", name);
            break;
        }
        buffers.push_back(std::move(bytes));
        ++added;
    }
    const bool closed = archive.close();
    const bool exists = fs::exists(zipPath, error);
    const auto size = exists ? fs::file_size(zipPath, error) : 0;
    const long long shownSize = error ? -1 : static_cast<long long>(size);
    services::log("[zip] Added {} files, ok_close={}, exists={}, size={} bytes", added, closed,
                  exists, shownSize);
    return added > 0 && exists && shownSize > 0;
}

}  // namespace corv::scan
