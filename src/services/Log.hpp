#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include <fmt/format.h>

namespace corv::services {

// The one log file of the process. Lines are written (and flushed) only while it is open,
// from any thread.

// Keeps three generations of the file, opens it truncated and writes the header line.
// Throws std::runtime_error "Failed to write file {path}" when it cannot be opened.
void openLog(const std::filesystem::path& path = "Log.txt");
void closeLog();

void log(std::string_view text);
// Warnings and errors: the line starts with "==> ".
void logMarked(std::string_view text);

// A banner line of 10 + extension characters: the text centred between runs of "*", or a
// run of "*" alone for an empty text.
std::string bannerText(std::string_view text, int extension);

template <typename Arg, typename... Args>
void log(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args) {
    log(std::string_view(fmt::format(format, std::forward<Arg>(arg), std::forward<Args>(args)...)));
}

template <typename Arg, typename... Args>
void logMarked(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args) {
    logMarked(
        std::string_view(fmt::format(format, std::forward<Arg>(arg), std::forward<Args>(args)...)));
}

}  // namespace corv::services
