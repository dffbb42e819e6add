#include "liveries/LiveryFolderScan.hpp"

#include <algorithm>
#include <chrono>
#include <map>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>

#include "common/UpperCase.hpp"
#include "services/Log.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t longestFolderPath = 249;  // bytes of UTF-8
constexpr std::int32_t highestFolderRank = 10;
constexpr std::chrono::seconds readerTimeLimit{10};

bool isLiveryFile(const fs::path& path) {
    const std::string stem = common::upperCase(path.stem().string());
    return (stem == "AIRCRAFT" || stem == "SIM") &&
           common::upperCase(path.extension().string()) == ".CFG";
}

// The folders an aircraft keeps its parts in ("model", "texture.KLM", ...) never hold an
// aircraft.cfg, and they are most of an installation's folders.
bool isAircraftPartFolder(const fs::path& path) {
    const std::string name = common::upperCase(path.filename().string());
    for (const std::string_view part : {"MODEL", "TEXTURE", "PANEL", "SOUND"}) {
        if (name.starts_with(part) && (name.size() == part.size() || name[part.size()] == '.'))
            return true;
    }
    return false;
}

bool isSkippedFolder(const fs::path& path) {
    const std::string text = path.string();
    return text.find("airport") != std::string::npos || text.size() > longestFolderPath ||
           isAircraftPartFolder(path);
}

// The aircraft.cfg and sim.cfg files below one folder, in the order the walk finds them.
std::vector<fs::path> liveryFilesBelow(const fs::path& folder,
                                       const std::function<bool()>& stopRequested) {
    std::vector<fs::path> files;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (stopRequested()) return {};
        const fs::directory_entry& entry = *walk;
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            if (isSkippedFolder(entry.path())) walk.disable_recursion_pending();
        } else if (entry.is_regular_file(typeError) && isLiveryFile(entry.path())) {
            files.push_back(entry.path());
        }
    }
    if (error) services::log("{}: {}", folder.string(), error.message());
    return files;
}

struct RankedFolder {
    fs::path folder;
    std::int32_t rank;
    std::vector<fs::path> files;
};

// The folders that exist, ranked, with their files: walked before any file is read, so that
// progress can be told against the total.
std::vector<RankedFolder> findLiveryFiles(const std::vector<fs::path>& folders,
                                          const std::function<bool()>& stopRequested) {
    std::vector<RankedFolder> found;
    std::int32_t rank = 0;
    for (const fs::path& folder : folders) {
        if (stopRequested()) break;
        std::error_code error;
        if (!fs::exists(folder, error)) {
            services::log("{} does not exist, skipped!", folder.string());
            continue;
        }
        if (!fs::is_directory(folder, error)) {
            services::log("{} is not a folder name, skipped!", folder.string());
            continue;
        }
        rank = std::min(rank + 1, highestFolderRank);
        found.push_back({folder, rank, liveryFilesBelow(folder, stopRequested)});
    }
    return found;
}

// The readers of one scan: a fixed set of threads takes the files in turn; their results are
// collected in the order the files were found. One thread per file would cost more to start
// than most files take to read.
class ReaderPool {
  public:
    ReaderPool(const std::vector<RankedFolder>& folders, const CfgReadContext& context,
               unsigned readers, const std::function<bool()>& stopRequested)
        : context_(context), stopRequested_(stopRequested) {
        for (const RankedFolder& folder : folders) {
            for (const fs::path& file : folder.files)
                files_.push_back({&file, folder.rank});
        }
        results_.resize(files_.size());
        ready_.assign(files_.size(), false);
        const unsigned count = std::min<unsigned>(std::max(1u, readers),
                                                  static_cast<unsigned>(files_.size()));
        for (unsigned i = 0; i < count; ++i)
            threads_.emplace_back([this] { readFiles(); });
    }
    ~ReaderPool() {
        // A scan that ends early still waits for its running reads: they use its context.
        abandoned_ = true;
        threads_.clear();
    }

    std::size_t size() const { return files_.size(); }

    // The result of the file at `index`, once read; throws when a reader hangs.
    CfgReadResult take(std::size_t index) {
        std::unique_lock lock(mutex_);
        if (!readyChanged_.wait_for(lock, readerTimeLimit, [&] { return ready_[index]; }))
            throw std::runtime_error("Future wait timed out after 10 seconds");
        return std::move(results_[index]);
    }

  private:
    struct FileToRead {
        const fs::path* path;
        std::int32_t rank;
    };

    void readFiles() {
        for (std::size_t index = next_++; index < files_.size(); index = next_++) {
            CfgReadResult result;
            if (!abandoned_ && !stopRequested_()) {
                CfgReadContext ranked = context_;
                ranked.folderRank = files_[index].rank;
                result = readAircraftCfg(*files_[index].path, ranked);
            }
            {
                std::lock_guard lock(mutex_);
                results_[index] = std::move(result);
                ready_[index] = true;
            }
            readyChanged_.notify_all();
        }
    }

    const CfgReadContext& context_;
    const std::function<bool()>& stopRequested_;
    std::vector<FileToRead> files_;
    std::vector<CfgReadResult> results_;
    std::vector<bool> ready_;
    std::mutex mutex_;
    std::condition_variable readyChanged_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> abandoned_{false};
    std::vector<std::jthread> threads_;  // last: joined before the rest goes
};

// The first folder that has a livery for an airline, operator and type keeps that combination;
// the liveries arrive in folder order.
void keepFirstFolders(std::vector<LiveryData>& liveries) {
    std::map<std::tuple<common::CodeIndex, common::CodeIndex, common::CodeIndex>, std::int32_t>
        firstRank;
    std::vector<LiveryData> kept;
    for (LiveryData& livery : liveries) {
        const auto [first, _] = firstRank.try_emplace(
            {livery.airline, livery.operatorIndex, livery.model}, livery.folderRank);
        if (first->second == livery.folderRank) kept.push_back(std::move(livery));
    }
    liveries = std::move(kept);
}
}  // namespace

FolderScanResult scanLiveryFolders(const std::vector<fs::path>& folders,
                                   const CfgReadContext& context,
                                   const FolderScanOptions& options) {
    FolderScanResult result;
    const std::vector<RankedFolder> found = findLiveryFiles(folders, options.stopRequested);
    std::size_t total = 0;
    for (const RankedFolder& folder : found)
        total += folder.files.size();
    ReaderPool readers(found, context, options.readers, options.stopRequested);
    std::size_t index = 0;
    for (const RankedFolder& folder : found) {
        const std::size_t before = result.liveries.size();
        for (std::size_t i = 0; i < folder.files.size() && !options.stopRequested(); ++i) {
            CfgReadResult read = readers.take(index++);
            result.liveries.insert(result.liveries.end(),
                                   std::make_move_iterator(read.liveries.begin()),
                                   std::make_move_iterator(read.liveries.end()));
            result.report.append(read.report);
            if (options.progress) options.progress(index, total);
        }
        if (options.stopRequested()) break;
        const std::size_t count = result.liveries.size() - before;
        if (count == 0) {
            services::log("No liveries found in {}", folder.folder.string());
        } else {
            services::log("{} liverie{} found in {}", count, count == 1 ? "" : "s",
                          folder.folder.string());
        }
    }
    if (folders.size() > 1) services::log("{} in total", result.liveries.size());
    if (options.prioritize) keepFirstFolders(result.liveries);
    std::sort(result.liveries.begin(), result.liveries.end(),
              [](const LiveryData& a, const LiveryData& b) { return a.title < b.title; });
    return result;
}

}  // namespace corv::liveries
