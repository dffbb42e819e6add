#include "data/CurlSiteDownloader.hpp"

#include <curl/curl.h>

#include <atomic>
#include <exception>
#include <fstream>
#include <memory>
#include <system_error>

#include "data/DownloadProgress.hpp"
#include "services/Log.hpp"

namespace corv::data {

namespace fs = std::filesystem;

namespace {

// A server that stops sending for this long counts as a failed transfer, so a start-up never
// hangs on a dead connection.
constexpr long connectTimeoutSeconds = 20;
constexpr long stalledSeconds = 30;

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

std::size_t writeBody(char* bytes, std::size_t size, std::size_t count, void* stream) {
    auto& out = *static_cast<std::ofstream*>(stream);
    out.write(bytes, static_cast<std::streamsize>(size * count));
    return out ? size * count : 0;  // a short count makes libcurl fail with a write error
}

// What libcurl reports to while a transfer runs.
struct TransferWatch {
    DownloadProgress& progress;
    const std::atomic<bool>& cancel;
};

int onProgress(void* watch, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t) {
    const auto& [progress, cancel] = *static_cast<TransferWatch*>(watch);
    progress.update(received, total);
    return cancel ? 1 : 0;  // non-zero aborts the transfer
}

CURLcode transfer(const std::string& url, std::ofstream& out, TransferWatch& watch) {
    const EasyHandle handle(curl_easy_init());
    if (!handle) return CURLE_FAILED_INIT;
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Corvane");
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stalledSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &out);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    return curl_easy_perform(curl);
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

}  // namespace

CurlSiteDownloader::CurlSiteDownloader(std::string base, services::MessageLine& messages,
                                       const std::atomic<bool>& cancel)
    : base_(std::move(base)), messages_(messages), cancel_(cancel) {}

std::string CurlSiteDownloader::addressOf(std::string_view sitePath) const {
    return base_ + std::string(sitePath);
}

bool CurlSiteDownloader::download(std::string_view sitePath, const fs::path& target) {
    const std::string url = addressOf(sitePath);
    fs::path partial = target;
    partial += ".download";
    try {
        CURLcode code = CURLE_OK;
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            if (!out) {
                services::log("Could not open output file: {}", target.string());
                return false;
            }
            // Named as on the site: a stand file is saved under another name.
            DownloadProgress progress(messages_, fs::path(url).filename().string());
            TransferWatch watch{progress, cancel_};
            code = transfer(url, out, watch);
            out.close();
            if (code == CURLE_OK && !out) code = CURLE_WRITE_ERROR;
        }
        if (code != CURLE_OK) {
            services::log("Download error: '{}' for {}", curl_easy_strerror(code), url);
            removeQuietly(partial);
            return false;
        }
        fs::rename(partial, target);
        return true;
    } catch (const std::exception& e) {
        services::log("Downloader exception: '{}', {} => {}", e.what(), url, target.string());
        removeQuietly(partial);
        return false;
    }
}

}  // namespace corv::data
