#include "services/Log.hpp"

#include <chrono>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "common/ProgramIdentity.hpp"
#include "services/FileGenerations.hpp"
#include "services/TimeText.hpp"

namespace corv::services {

namespace {
struct LogSink {
    std::mutex mutex;
    std::ofstream file;
    bool open = false;
};

LogSink& sink() {
    static LogSink instance;
    return instance;
}

void writeLine(std::string_view marker, std::string_view text) {
    LogSink& s = sink();
    std::lock_guard lock(s.mutex);
    if (!s.open) return;
    s.file << marker << text << '\n';
    // Every line is flushed so that the file is complete after a crash.
    s.file.flush();
}
}  // namespace

void openLog(const std::filesystem::path& path) {
    gf_saveUpto3GenerationsOf(path);
    LogSink& s = sink();
    {
        std::lock_guard lock(s.mutex);
        if (s.open) s.file.close();
        s.file.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
        s.open = s.file.is_open();
        if (!s.open) throw std::runtime_error("Failed to write file " + path.string());
    }
    log("{} (utc) {} version {}.{}.{} for {}", timeText(std::chrono::system_clock::now()),
        programName, programVersionMajor, programVersionMinor, programVersionPatch,
        simulatorFamily);
}

void closeLog() {
    LogSink& s = sink();
    std::lock_guard lock(s.mutex);
    if (s.open) s.file.close();
    s.open = false;
}

void log(std::string_view text) {
    writeLine({}, text);
}

std::string bannerText(std::string_view text, int extension) {
    const std::size_t width = static_cast<std::size_t>(10 + extension);
    if (text.empty()) return std::string(width, '*');
    if (text.size() + 2 >= width) return std::string(text);
    const std::size_t stars = width - text.size() - 2;
    const std::size_t left = stars / 2;
    return fmt::format("{} {} {}", std::string(left, '*'), text, std::string(stars - left, '*'));
}

void logMarked(std::string_view text) {
    writeLine("==> ", text);
}

}  // namespace corv::services
