#include "platform/ShellOpen.hpp"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

extern char** environ;

namespace corv::platform {

namespace {
// The opener may stay until its viewer closes, so it is waited for on a thread of its own:
// the caller goes on at once and no zombie is left behind.
void reapInBackground(pid_t pid) noexcept {
    const auto reap = [pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    };
    try {
        std::thread(reap).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the opener still runs; only its exit status stays until we end.
    }
}
}  // namespace

bool openWithDesktop(const std::filesystem::path& absolutePath) noexcept {
    pid_t pid = 0;
    try {
        std::string program = "xdg-open";
        std::string target = absolutePath.string();
        char* argv[] = {program.data(), target.data(), nullptr};
        if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    } catch (...) {
        return false;
    }
    reapInBackground(pid);
    return true;
}

}  // namespace corv::platform
