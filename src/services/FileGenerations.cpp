#include "services/FileGenerations.hpp"

#include <optional>
#include <string>
#include <system_error>

#include "services/Log.hpp"

namespace corv::services {

namespace fs = std::filesystem;

namespace {
// The last dot of the whole path text, so a dot in a folder name counts too.
std::optional<fs::path> generationName(const fs::path& path, int zeros) {
    std::string text = path.string();
    const auto dot = text.rfind('.');
    if (dot == std::string::npos) return std::nullopt;
    text.insert(dot, std::string(static_cast<std::size_t>(zeros), '0'));
    return fs::path(text);
}

bool copyGeneration(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const bool present = fs::exists(from, ec);
    if (ec) {
        logMarked("exists({}): {}", from.string(), ec.message());
        return false;
    }
    if (!present) return true;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        logMarked("copy {} -> {} failed: {}", from.string(), to.string(), ec.message());
        return false;
    }
    return true;
}
}  // namespace

bool gf_save1GenerationOf(const fs::path& path) {
    const auto first = generationName(path, 1);
    if (!first) {
        logMarked("gf_save1GenerationOf: no dot in filename: {}", path.string());
        return false;
    }
    return copyGeneration(path, *first);
}

bool gf_saveUpto3GenerationsOf(const fs::path& path) {
    const auto first = generationName(path, 1);
    if (!first) {
        logMarked("gf_saveUpto3GenerationsOf: no dot in filename: {}", path.string());
        return false;
    }
    const auto second = generationName(path, 2);
    const auto third = generationName(path, 3);
    // Oldest first, so that every copy still finds its source.
    bool ok = copyGeneration(*second, *third);
    ok = copyGeneration(*first, *second) && ok;
    ok = copyGeneration(path, *first) && ok;
    return ok;
}

}  // namespace corv::services
