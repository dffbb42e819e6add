#include "scan/OfflineLearning.hpp"

#include <fstream>
#include <vector>

#include "common/UpperCase.hpp"
#include "services/Log.hpp"

namespace corv::scan {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> generatedAirportFiles(
    const fs::path& folder, const std::function<bool(const common::FixedCode<4>&)>& isRtSupported) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        const std::string stem = path.stem().string();
        if (entry.is_regular_file(error) && common::upperCase(path.extension().string()) == ".XML" &&
            common::isValidFixedCode<4>(stem) && isRtSupported(common::FixedCode<4>(stem)))
            files.push_back(path);
    }
    return files;
}

}  // namespace

void collectForOfflineLearning(const fs::path& thirdPartyFolder, const fs::path& collectionFolder,
                               const std::function<bool(const common::FixedCode<4>&)>& isRtSupported) {
    for (const fs::path& source : generatedAirportFiles(thirdPartyFolder, isRtSupported)) {
        const common::FixedCode<4> code(source.stem().string());
        const fs::path target = collectionFolder / (code.str() + ".xml");
        std::error_code error;
        fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
        if (error) {
            services::logMarked("'{}' failed to copy '{}': {}", source.string(), target.string(),
                                error.message());
            continue;
        }
        const fs::path link = thirdPartyFolder / (code.str() + ".txt");
        const bool linked = fs::exists(link, error);
        if (error) {
            services::logMarked("exists({}) failed: {}", link.string(), error.message());
        } else if (linked && !fs::remove(source, error)) {
            services::logMarked("remove({}) failed: {}", source.string(), error.message());
        }
    }
}

bool writeScanLog(const fs::path& path, const ScanMessages& messages) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& line : messages) out << line << "\n";
    return true;
}

}  // namespace corv::scan
