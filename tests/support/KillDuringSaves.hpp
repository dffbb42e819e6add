#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

extern char** environ;

namespace corv::test {

// Starts a saver program with one argument, waits until it prints that it has saved, lets it
// go on for the given time and kills it. Returns the wait status, or nothing when the saver
// never reported a save.
inline std::optional<int> killDuringSaves(std::string executable, std::string argument,
                                          std::chrono::microseconds after) {
    int output[2];
    if (::pipe(output) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    char* arguments[] = {executable.data(), argument.data(), nullptr};
    pid_t saver = 0;
    const int spawned =
        posix_spawn(&saver, executable.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        return std::nullopt;
    }
    // The first line comes after the saver's first round of saves.
    pollfd readable{output[0], POLLIN, 0};
    char first = 0;
    const bool saved = ::poll(&readable, 1, 10000) == 1 && ::read(output[0], &first, 1) == 1;
    if (saved) std::this_thread::sleep_for(after);
    ::kill(saver, SIGKILL);
    int status = 0;
    ::waitpid(saver, &status, 0);
    ::close(output[0]);
    if (!saved) return std::nullopt;
    return status;
}

}  // namespace corv::test
