#include "liveries/LiveryFolderScan.hpp"

#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <stdexcept>
#include <string>
#include <system_error>

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
    ReaderLine(unsigned limit, FolderScanResult& result)
        : limit_(std::max(1u, limit)), result_(result) {}
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
    }

    unsigned limit_;
    FolderScanResult& result_;
    std::deque<std::future<CfgReadResult>> running_;
};

void searchFolder(const fs::path& folder, const CfgReadContext& context, ReaderLine& readers,
                  const std::function<bool()>& stopRequested) {
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (stopRequested()) return;
        const fs::directory_entry& entry = *walk;
        std::error_code typeError;
        if (entry.is_directory(typeError)) {
            if (isSkippedFolder(entry.path())) walk.disable_recursion_pending();
        } else if (entry.is_regular_file(typeError) && isLiveryFile(entry.path())) {
            readers.start(entry.path(), context);
        }
    }
    if (error) services::log("{}: {}", folder.string(), error.message());
}

// The first folder that has a livery for an airline, operator and type keeps that combination.
void keepFirstFolders(std::vector<LiveryData>& liveries) {
    std::vector<LiveryData> kept;
    for (LiveryData& livery : liveries) {
        const bool earlierFolderHasOne =
            std::any_of(kept.begin(), kept.end(), [&](const LiveryData& earlier) {
                return earlier.airline == livery.airline &&
                       earlier.operatorIndex == livery.operatorIndex &&
                       earlier.model == livery.model && earlier.folderRank < livery.folderRank;
            });
        if (!earlierFolderHasOne) kept.push_back(std::move(livery));
    }
    liveries = std::move(kept);
}
}  // namespace

FolderScanResult scanLiveryFolders(const std::vector<fs::path>& folders,
                                   const CfgReadContext& context,
                                   const FolderScanOptions& options) {
    FolderScanResult result;
    std::int32_t rank = 0;
    for (const fs::path& folder : folders) {
        if (options.stopRequested()) break;
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
        CfgReadContext ranked = context;
        ranked.folderRank = rank;
        const std::size_t before = result.liveries.size();
        {
            ReaderLine readers(options.readers, result);
            searchFolder(folder, ranked, readers, options.stopRequested);
            readers.finish();
        }
        const std::size_t found = result.liveries.size() - before;
        if (found == 0) {
            services::log("No liveries found in {}", folder.string());
        } else {
            services::log("{} liverie{} found in {}", found, found == 1 ? "" : "s",
                          folder.string());
        }
    }
    if (folders.size() > 1) services::log("{} in total", result.liveries.size());
    if (options.prioritize) keepFirstFolders(result.liveries);
    std::sort(result.liveries.begin(), result.liveries.end(),
              [](const LiveryData& a, const LiveryData& b) { return a.title < b.title; });
    return result;
}

}  // namespace corv::liveries
