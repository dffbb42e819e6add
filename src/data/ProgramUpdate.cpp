#include "data/ProgramUpdate.hpp"

#include <fmt/format.h>

#include <fstream>
#include <string>
#include <system_error>

#include "common/ProgramIdentity.hpp"
#include "data/InstallerMove.hpp"
#include "data/UpdateNotice.hpp"
#include "data/ZipArchive.hpp"
#include "services/Log.hpp"

namespace corv::data {

namespace fs = std::filesystem;

namespace {
constexpr const char* archiveName = "latest_version.zip";
constexpr const char* installerName = "install_new_version.exe";
constexpr const char* newVersionFolder = "new_version";
constexpr std::size_t unzipBlockBytes = 524288;
constexpr const char* manualHint =
    "The downloading/unzipping of the new version failed? Try manually via the Telvarin website";

void removeWarn(const fs::path& file, const char* warning) {
    std::error_code ec;
    if (!fs::remove(file, ec) && ec) services::log(fmt::runtime(warning), ec.message());
}

// The archive's first entry becomes the installer in the program folder.
bool unpackInstaller(const fs::path& archivePath, const fs::path& installer) {
    const ZipArchive archive(archivePath, ZipArchive::Mode::Read);
    if (!archive.isOpen()) {
        services::logMarked("Could not open {}", archivePath.string());
        return false;
    }
    if (archive.entryCount() < 1) {
        services::logMarked("No installer in {}", archivePath.string());
        return false;
    }
    removeWarn(installer, "Warning: could not remove old installer: {}");
    int error = 0;
    {
        std::ofstream out(installer, std::ios::binary | std::ios::trunc);
        if (!out) {
            services::log("Could not create output file {}", installer.string());
            return false;
        }
        error = archive.extractEntry(0, out, unzipBlockBytes);
    }
    if (error != 0) {
        services::log("Unzipping error code: {}", error);
        removeWarn(installer, "Warning: could not remove old installer: {}");
        return false;
    }
    services::log("{} unzipped to {}", archive.entryName(0), installer.string());
    return true;
}

void writeReadme(const UpdateContext& context, const fs::path& folder) {
    const bool administrator = installerNeedsAdministrator(
        context.installFolder, context.programFilesFolders, context.elevated,
        [&] { return canWriteIn(context.installFolder); });
    const std::string_view notice = administrator ? administratorNotice : plainNotice;
    std::ofstream(folder / "README.txt", std::ios::binary | std::ios::trunc) << notice << '\n';
    services::log("{}", notice);
}
}  // namespace

bool updateProgram(const UpdateContext& context, const services::VersionData& webVersion) {
    const fs::path archivePath = context.installFolder / archiveName;
    const std::string archiveSitePath =
        fmt::format("downloads/release/{}/{}", programName, archiveName);
    if (!context.site.download(archiveSitePath, archivePath)) {
        context.messages.showMessage(
            fmt::format("Downloading program installer file version {} failed", webVersion.text()),
            true);
        context.messages.showMessage(manualHint, true);
        return false;
    }
    services::log("Downloaded {}", archivePath.string());

    const fs::path installer = context.installFolder / installerName;
    const bool unpacked = unpackInstaller(archivePath, installer);
    removeWarn(archivePath, "Warning: could not remove downloaded zip: {}");
    const fs::path folder = context.installFolder / newVersionFolder;
    if (!unpacked || !moveInstaller(installer, folder)) {
        context.messages.showMessage(manualHint, true);
        return false;
    }

    const fs::path releaseNotes = folder / "ReleaseNotes.pdf";
    if (!context.site.download("downloads/docs/ReleaseNotes.pdf", releaseNotes)) {
        services::log("could not download {} to {}",
                      context.site.addressOf("downloads/docs/ReleaseNotes.pdf"),
                      releaseNotes.string());
    }
    writeReadme(context, folder);

    if (!context.showInFileManager(folder / installerName)) {
        context.messages.showMessage(
            "Opening file explorer at the new version failed? Try manually via the Telvarin "
            "website.",
            true);
    }
    context.run.requestStop(services::ExitReason::NewVersion, 0);
    return true;
}

}  // namespace corv::data
