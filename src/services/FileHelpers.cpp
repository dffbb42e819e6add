#include "services/FileHelpers.hpp"

#include <exception>
#include <system_error>

#include "services/Log.hpp"

namespace corv::services {

namespace fs = std::filesystem;

void removeFileWarn(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) log("Warning: could not remove {}, errorcode: {}", path.string(), ec.value());
}

void gf_removeFilesFromDirectory(const fs::path& folder) {
    try {
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) return;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file(ec)) continue;
            if (!fs::remove(entry.path(), ec) && ec) {
                logMarked("Failed to remove {} ({})", entry.path().string(), ec.message());
            }
        }
    } catch (const std::exception& e) {
        logMarked("{} exception: {}", "gf_removeFilesFromDirectory", e.what());
    }
}

std::size_t countFolderEntries(const fs::path& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return 0;
    std::size_t count = 0;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        ++count;
    }
    return count;
}

}  // namespace corv::services
