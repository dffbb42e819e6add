#include "data/DownloadProgress.hpp"

#include <fmt/format.h>

namespace corv::data {

DownloadProgress::DownloadProgress(services::MessageLine& messages, std::string fileName)
    : messages_(messages), fileName_(std::move(fileName)) {}

DownloadProgress::~DownloadProgress() {
    if (!shown_.empty()) messages_.withdrawMessage(shown_);
}

void DownloadProgress::update(std::int64_t received, std::int64_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (received <= 0 || now < nextUpdate_) return;
    nextUpdate_ = now + interval;
    shown_ = total > 0 ? fmt::format("Downloading {}: {} / {} bytes", fileName_, received, total)
                       : fmt::format("Downloading {}: {} bytes", fileName_, received);
    messages_.showMessage(shown_, false);
}

}  // namespace corv::data
