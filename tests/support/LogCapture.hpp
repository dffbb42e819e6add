#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "services/Log.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// Opens the process log in a temporary folder for the life of the object, so a test can read
// what was logged.
class LogCapture {
  public:
    LogCapture() : file_(folder_ / "Log.txt") { services::openLog(file_); }
    ~LogCapture() { services::closeLog(); }

    // Every line after the header line.
    std::vector<std::string> lines() const {
        std::vector<std::string> all = splitLines(readFile(file_));
        if (!all.empty()) all.erase(all.begin());
        return all;
    }
    bool contains(std::string_view line) const {
        const auto all = lines();
        return std::find(all.begin(), all.end(), line) != all.end();
    }

  private:
    TempFolder folder_;
    std::filesystem::path file_;
};

}  // namespace corv::test
