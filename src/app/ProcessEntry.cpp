#include "app/ProcessEntry.hpp"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

#include "app/CommandLine.hpp"
#include "app/Program.hpp"
#include "common/ProgramIdentity.hpp"
#include "platform/SingleInstanceLock.hpp"
#include "services/Folders.hpp"
#include "services/Log.hpp"

namespace corv::app {

namespace fs = std::filesystem;

int runProcess(const std::vector<std::string>& arguments) {
    const fs::path dataFolder = services::programDataFolder();
    if (dataFolder.empty()) {
        std::fprintf(stderr, "%s: no application-data folder for the settings\n",
                     programName.data());
        return 1;
    }
    // Before anything else: a second instance leaves at once and writes nothing.
    platform::SingleInstanceLock instance;
    if (!instance.tryAcquire(dataFolder / (std::string(programName) + ".lock"))) return -1;

    try {
        services::openLog();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", programName.data(), e.what());
        return 1;
    }
    const bool production = productionModeFromArguments(arguments);
    std::error_code ec;
    fs::create_directories(dataFolder, ec);

    Program program(fs::current_path(), services::appDataPath(), dataFolder / "parameters.xml",
                    production);
    const int exitCode = program.run();
    services::closeLog();
    return exitCode;
}

}  // namespace corv::app
