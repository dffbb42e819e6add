#include "liveries/OfflineRegcodes.hpp"

#include <exception>
#include <fstream>
#include <optional>

#include <fmt/format.h>

#include "data/EncryptedFile.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
std::string plural(std::size_t count) {
    return count == 1 ? "" : "s";
}

fs::path userFolder(const RegcodeFolders& folders) {
    return folders.input / "my_regcodes";
}

// The shipped list, decrypted for as long as it is read; nothing when it cannot be decrypted.
std::optional<RegcodeList> readShippedList(const RegcodeFolders& folders) {
    const fs::path plain = folders.input / "AIG-regcodes.xml";
    if (!data::decryptToFile(folders.input / "AIG-regcodes.enc", plain)) {
        services::removeFileWarn(plain);
        return std::nullopt;
    }
    RegcodeList list = readAigRegcodeFile(plain);
    services::removeFileWarn(plain);
    return list;
}

void writeLines(const fs::path& file, const std::vector<std::string>& lines) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines)
        out << line << '\n';
    if (!out) services::logMarked("writing {} failed", file.string());
}

void applyList(RegistrationIndex& index, const RegcodeList& list,
               const std::unordered_set<std::string>& installedTitles,
               std::vector<std::string>& report) {
    services::log("Processing file {}", list.path.string());
    RegistrationIndex::Applied applied = index.apply(list, installedTitles);
    std::string summary =
        fmt::format("{} new regcode{} added", applied.added, plural(applied.added));
    if (applied.replaced > 0)
        summary +=
            fmt::format(", {} regcode{} replaced", applied.replaced, plural(applied.replaced));
    if (applied.special > 0) {
        summary += fmt::format(", {} regcode{} defined as special", applied.special,
                               plural(applied.special));
    }
    services::log(summary);
    report.insert(report.end(), applied.reportLines.begin(), applied.reportLines.end());
}
}  // namespace

void applyInlineRegcodes(RegistrationIndex& index, const std::vector<TitledRegistration>& liveries,
                         const RegcodeFolders& folders) {
    const std::vector<std::string> clashes = index.addInline(liveries);
    if (clashes.empty()) return;
    const fs::path report = folders.errors / "InlineRegcodes.txt";
    writeLines(report, clashes);
    services::log("{:5} in-line regcode clashes, see '{}'", clashes.size(), report.string());
}

void applyOfflineRegcodes(RegistrationIndex& index,
                          const std::unordered_set<std::string>& installedTitles,
                          const RegcodeFolders& folders, services::MessageLine& messages) {
    try {
        std::vector<std::string> report;
        if (const std::optional<RegcodeList> shipped = readShippedList(folders)) {
            applyList(index, *shipped, installedTitles, report);
            if (shipped->erroneous) {
                messages.showMessage(
                    fmt::format("There were errors processing the AIG-regcode file '{}', see "
                                "Log.txt",
                                shipped->path.string()),
                    true);
            }
        }
        const fs::path user = userFolder(folders);
        services::log("Processing files in {}", user.string());
        const UserRegcodeFiles files = readUserRegcodeFiles(user);
        for (const RegcodeList& list : files.lists)
            applyList(index, list, installedTitles, report);
        if (files.erroneous) {
            messages.showMessage(
                fmt::format("There were errors processing the regcode files in folder '{}', see "
                            "Log.txt",
                            user.string()),
                true);
        }

        const fs::path reportFile = folders.info / "OfflineRegcodes.txt";
        services::removeFileWarn(reportFile);
        if (!report.empty()) {
            writeLines(reportFile, report);
            services::log("Offline regcode files processed, results can be found in '{}'",
                          reportFile.string());
        }
        if (index.specialCount() > 0) services::log("{:5} special liveries", index.specialCount());
        if (index.uniqueCount() > 0) services::log("{:5} unique liveries", index.uniqueCount());
    } catch (const std::exception& e) {
        services::logMarked("exception: {}", e.what());
    }
}

std::vector<std::string> loadDontUseTitles(const RegcodeFolders& folders,
                                           services::MessageLine& messages) {
    std::vector<std::string> titles;
    if (const std::optional<RegcodeList> shipped = readShippedList(folders)) {
        titles = shipped->dontUseTitles;
        services::log("{:5} don't use title{} read", titles.size(), plural(titles.size()));
        if (shipped->erroneous) {
            messages.showMessage(fmt::format("There were errors in processing the file '{}', see "
                                             "the Log.txt",
                                             shipped->path.string()),
                                 true);
        }
    }
    const fs::path user = userFolder(folders);
    const UserRegcodeFiles files = readUserRegcodeFiles(user);
    std::size_t fromFiles = 0;
    for (const RegcodeList& list : files.lists) {
        titles.insert(titles.end(), list.dontUseTitles.begin(), list.dontUseTitles.end());
        fromFiles += list.dontUseTitles.size();
    }
    services::log("{:5} don't use title{} read from files in {}", fromFiles, plural(fromFiles),
                  user.string());
    if (files.erroneous) {
        messages.showMessage(fmt::format("There were errors in processing the regcode files in "
                                         "folder '{}', see the Log.txt",
                                         user.string()),
                             true);
    }
    return titles;
}

}  // namespace corv::liveries
