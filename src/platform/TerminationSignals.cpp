#include "platform/TerminationSignals.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace corv::platform {

namespace {
int signalWriteEnd = -1;

extern "C" void onTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    errno = savedErrno;
}
}  // namespace

int watchTerminationSignals() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    signalWriteEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    return ends[0];
}

void drainTerminationSignals(int readDescriptor) {
    char buffer[64];
    while (::read(readDescriptor, buffer, sizeof buffer) > 0) {
    }
}

}  // namespace corv::platform
