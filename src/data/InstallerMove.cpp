#include "data/InstallerMove.hpp"

#include <cstdint>
#include <optional>
#include <system_error>

#include "services/Log.hpp"

namespace corv::data {

namespace fs = std::filesystem;

namespace {
std::optional<std::uintmax_t> sizeOf(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!ec) return size;
    services::log("file_size({}) failed: {}", file.string(), ec.message());
    return std::nullopt;
}

void removeOld(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
}
}  // namespace

bool moveInstaller(const fs::path& extracted, const fs::path& targetFolder) {
    std::error_code ec;
    if (!fs::exists(extracted, ec)) {
        services::log("{} does not exists?", extracted.string());
        return false;
    }
    fs::create_directories(targetFolder, ec);
    const fs::path final = targetFolder / extracted.filename();
    fs::path part = final;
    part += ".part";
    removeOld(part);
    removeOld(final);

    // Read before the move: afterwards the source is gone.
    const std::optional<std::uintmax_t> sourceSize = sizeOf(extracted);
    if (!sourceSize) return false;
    fs::rename(extracted, part, ec);
    if (ec) {
        services::log("could not rename {} => {}: {}", extracted.string(), part.string(),
                      ec.message());
        return false;
    }
    const std::optional<std::uintmax_t> partSize = sizeOf(part);
    if (!partSize) return false;
    if (*partSize != *sourceSize) {
        services::log("rename {} => {} suspicious: size {} != {}", extracted.string(),
                      part.string(), *sourceSize, *partSize);
        return false;
    }
    fs::rename(part, final, ec);
    if (ec) {
        services::log("could not finalize rename {} => {}: {}", part.string(), final.string(),
                      ec.message());
        return false;
    }
    return true;
}

}  // namespace corv::data
