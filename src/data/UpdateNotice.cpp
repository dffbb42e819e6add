#include "data/UpdateNotice.hpp"

#include <algorithm>
#include <fstream>
#include <string>
#include <system_error>

namespace corv::data {

namespace fs = std::filesystem;

bool installerNeedsAdministrator(const fs::path& programFolder,
                                 const std::vector<fs::path>& programFilesFolders, bool elevated,
                                 const std::function<bool()>& canWrite) {
    const std::string program = programFolder.string();
    // An unknown (empty) Program Files folder would be a prefix of every path.
    const bool belowProgramFiles = std::any_of(
        programFilesFolders.begin(), programFilesFolders.end(), [&](const fs::path& folder) {
            return !folder.empty() && program.starts_with(folder.string());
        });
    return belowProgramFiles && !elevated && !canWrite();
}

bool canWriteIn(const fs::path& folder) {
    const fs::path probe = folder / ".write_test.tmp";
    bool written = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        written = out.put('\0') && out.flush();
    }
    std::error_code ignored;
    fs::remove(probe, ignored);
    return written;
}

}  // namespace corv::data
