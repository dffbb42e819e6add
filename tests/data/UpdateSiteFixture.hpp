#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "data/CurlGlobal.hpp"
#include "data/CurlSiteDownloader.hpp"
#include "data/UpdateContext.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/VersionData.hpp"
#include "settings/SettingsFile.hpp"
#include "support/LogCapture.hpp"
#include "support/LoopbackHttpServer.hpp"
#include "support/ParameterReset.hpp"
#include "support/RecordedControls.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// A program folder, its settings and a local download site serving siteRoot, with the
// program at version 6.0.9 (so its data files come from "downloads/6/").
struct UpdateSiteFixture : ::testing::Test {
    UpdateSiteFixture() {
        resetParameters();
        std::filesystem::create_directories(install / "input");
    }

    // Puts a file on the site, below siteRoot.
    void publish(const std::string& sitePath, const std::string& content) {
        const std::filesystem::path file = siteRoot / sitePath;
        std::filesystem::create_directories(file.parent_path());
        writeFile(file, content);
    }

    // versions.json with the given keys, versions written "6.1.0".
    void publishVersions(const std::map<std::string, std::string>& versions) {
        std::string members;
        for (const auto& [key, dotted] : versions) {
            const services::VersionData version(dotted);
            if (!members.empty()) members += ",";
            members += fmt::format(R"("{}":{{"major":{},"minor":{},"patch":{}}})", key,
                                   version.major, version.minor, version.patch);
        }
        publish("downloads/versions.json", "{" + members + "}");
    }

    data::UpdateContext context() {
        return data::UpdateContext{site,
                                   settings,
                                   controls,
                                   messages,
                                   run,
                                   install.path(),
                                   services::VersionData(6, 0, 9),
                                   {},
                                   false,
                                   [this](const std::filesystem::path& installer) {
                                       shownInFileManager.push_back(installer);
                                       return true;
                                   }};
    }

    TempFolder siteRoot;
    TempFolder install;
    TempFolder config;
    LoopbackHttpServer server{siteRoot.path()};
    LogCapture logged;
    RecordedControls controls;
    std::atomic<bool> stopRequested{false};
    settings::SettingsFile settings{config / "parameters.xml", controls, stopRequested};
    services::MessageLine messages{[] {}};
    services::RunState run;
    data::CurlGlobal curl;
    std::atomic<bool> windowClosed{false};
    data::CurlSiteDownloader site{server.base(), messages, windowClosed};
    std::vector<std::filesystem::path> shownInFileManager;
};

}  // namespace corv::test
