#include "scan/ZipFolder.hpp"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "data/ZipArchive.hpp"
#include "services/Log.hpp"

namespace corv::scan {
namespace {

namespace fs = std::filesystem;

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

    data::ZipArchive archive(zipPath, data::ZipArchive::Mode::Create);
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
