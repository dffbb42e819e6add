#include "data/VersionCheck.hpp"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <array>
#include <exception>
#include <fstream>
#include <optional>
#include <system_error>

#include "common/ProgramIdentity.hpp"
#include "data/ProgramUpdate.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::data {

namespace fs = std::filesystem;
using services::VersionData;

namespace {

// One data key of versions.json: where its local version is kept, the file whose absence
// makes it out of date, and what brings it up to date: a download of that file into "input",
// or else a rescan flag.
struct DataKey {
    const char* key;
    settings::HiddenText& localVersion;
    const char* file;  // below the program folder; none when only the version counts
    settings::CheckBox* rescan;
};

std::optional<VersionData> webVersion(const nlohmann::json& versions, const char* key) {
    const auto found = versions.find(key);
    if (found == versions.end() || !found->is_object()) return std::nullopt;
    try {
        return VersionData(found->at("major").get<int>(), found->at("minor").get<int>(),
                           found->at("patch").get<int>());
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

std::optional<nlohmann::json> readVersions(const fs::path& file) {
    std::optional<nlohmann::json> versions;
    {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            services::log("Cannot open versions.json");
            return std::nullopt;
        }
        nlohmann::json parsed = nlohmann::json::parse(in, nullptr, false);
        if (parsed.is_object()) {
            versions = std::move(parsed);
        } else {
            services::log("versions.json is not a JSON object");
        }
    }
    std::error_code ignored;
    fs::remove(file, ignored);
    return versions;
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec);
}

// A data file comes from the folder of the program's major version.
bool downloadDataFile(const UpdateContext& context, const fs::path& target) {
    const std::string sitePath =
        fmt::format("downloads/{}/{}", context.programVersion.major, target.filename().string());
    if (!context.site.download(sitePath, target)) {
        services::logMarked("Downloading '{}' failed !", context.site.addressOf(sitePath));
        return false;
    }
    services::log("Downloaded '{}' to '{}'", context.site.addressOf(sitePath), target.string());
    return true;
}

void markRescan(const UpdateContext& context, settings::CheckBox& rescan) {
    rescan.setCurrent(true);
    context.settings.saveFlag(rescan);
    rescan.showCurrent(context.controls);
}

void updateData(const UpdateContext& context, const nlohmann::json& versions, const DataKey& data) {
    const std::optional<VersionData> web = webVersion(versions, data.key);
    if (!web) {
        services::log("{} version not found", data.key);
        return;
    }
    const fs::path file = data.file ? context.installFolder / data.file : fs::path();
    if (VersionData(data.localVersion.value()) >= *web && (!data.file || fileExists(file))) {
        services::log("{} version up-to-date", data.key);
        return;
    }
    if (data.rescan) {
        markRescan(context, *data.rescan);
    } else if (!downloadDataFile(context, file)) {
        return;
    }
    data.localVersion.setCurrent(web->text());
    context.settings.saveText(data.localVersion);
    services::log("{} updated to {}", data.key, web->text());
}

}  // namespace

bool VersionCheck::checkForUpdates() {
    const fs::path versionsFile = context_.installFolder / "versions.json";
    if (!context_.site.download("downloads/versions.json", versionsFile)) {
        services::log("Downloading version info from my web site failed!");
        return true;
    }
    const std::optional<nlohmann::json> versions = readVersions(versionsFile);
    if (!versions) return true;

    bool updating = false;
    if (const std::optional<VersionData> web = webVersion(*versions, "p3d_app")) {
        services::log("{} program version at web = {}", programName, web->text());
        if (*web > context_.programVersion) updating = updateProgram(context_, *web);
    } else {
        services::log("{} version not found", "p3d_app");
    }

    using namespace settings;
    const std::array<DataKey, 5> dataKeys{{
        {"airports", AIRPORTS_VERSION, "input/airports.enc", nullptr},
        {"aig", AIG_VERSION, "input/AIG-regcodes.enc", nullptr},
        {"liveries", LIV_SCAN_VERSION, "output/LiveriesScanned.xml", &SCAN_LIVERIES},
        // The add-on scan leaves no single file behind.
        {"addons", ADDONS_SCAN_VERSION, nullptr, &SCAN_AIRPORTS},
        {"dbase", DBASE_VERSION, "input/dbase.enc", nullptr},
    }};
    for (const DataKey& data : dataKeys)
        updateData(context_, *versions, data);
    return !updating;
}

}  // namespace corv::data
