#include "liveries/LiveryFolderScan.hpp"

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <future>
#include <stdexcept>
#include <string>
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

bool isSkippedFolder(const fs::path& path) {
    const std::string text = path.string();
    return text.find("airport") != std::string::npos || text.size() > longestFolderPath;
}

// The readers of one scan: a first-in first-out line of running reads, never longer than the
// limit; their results are taken in the order the files were found.
class ReaderLine {
  public:
    ReaderLine(unsigned limit, FolderScanResult& result, const ScanProgress& progress,
               std::size_t total)
        : limit_(std::max(1u, limit)), result_(result), progress_(progress), total_(total) {}
    ~ReaderLine() {
        // A scan that ends early still waits for its running reads: they use its context.
        for (auto& read : running_)
            if (read.valid()) read.wait();
    }

    void start(const fs::path& file, CfgReadContext context) {
        while (running_.size() >= limit_)
            takeOldest();
        running_.push_back(std::async(std::launch::async, [file, context]() mutable {
            return readAircraftCfg(file, context);
        }));
    }
    void finish() {
        while (!running_.empty())
            takeOldest();
    }

  private:
    void takeOldest() {
        std::future<CfgReadResult>& oldest = running_.front();
        if (oldest.wait_for(readerTimeLimit) != std::future_status::ready)
            throw std::runtime_error("Future wait timed out after 10 seconds");
        CfgReadResult read = oldest.get();
        running_.pop_front();
        result_.liveries.insert(result_.liveries.end(),
                                std::make_move_iterator(read.liveries.begin()),
                                std::make_move_iterator(read.liveries.end()));
        result_.report.append(read.report);
        ++done_;
        if (progress_) progress_(done_, total_);
    }

    unsigned limit_;
    FolderScanResult& result_;
    const ScanProgress& progress_;
    std::size_t total_;
    std::size_t done_ = 0;
    std::deque<std::future<CfgReadResult>> running_;
};

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
    ReaderLine readers(options.readers, result, options.progress, total);
    for (const RankedFolder& folder : found) {
        CfgReadContext ranked = context;
        ranked.folderRank = folder.rank;
        const std::size_t before = result.liveries.size();
        for (const fs::path& file : folder.files) {
            if (options.stopRequested()) break;
            readers.start(file, ranked);
        }
        readers.finish();
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
