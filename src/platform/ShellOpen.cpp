#include "platform/ShellOpen.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <string>

extern char** environ;

namespace corv::platform {

bool openWithDesktop(const std::filesystem::path& absolutePath) noexcept {
    try {
        std::string program = "xdg-open";
        std::string target = absolutePath.string();
        char* argv[] = {program.data(), target.data(), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } catch (...) {
        return false;
    }
}

}  // namespace corv::platform
