#include "platform/UdpReceiver.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/SocketErrors.hpp"

namespace corv::platform {

namespace {
// A text that is no dotted address cannot be bound, as on the program's home platform.
bool toAddress(const std::string& text, int port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (text.empty()) {
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        return true;
    }
    return ::inet_pton(AF_INET, text.c_str(), &address.sin_addr) == 1;
}
}  // namespace

std::optional<UdpOpenFailure> UdpReceiver::open(const std::string& bindAddress, int port,
                                                std::chrono::milliseconds timeout,
                                                const std::string& acceptedSender) {
    using Step = UdpOpenFailure::Step;
    close();
    acceptedSender_.reset();
    if (!acceptedSender.empty()) {
        in_addr sender{};
        if (::inet_pton(AF_INET, acceptedSender.c_str(), &sender) != 1)
            return UdpOpenFailure{Step::Bind, socketAddressNotAvailable};
        acceptedSender_ = sender.s_addr;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) return UdpOpenFailure{Step::Socket, lastSocketErrorCode()};
    const auto fail = [fd](Step step, int error) {
        ::close(fd);
        return UdpOpenFailure{step, error};
    };
    timeval wait{};
    wait.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    wait.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    if (::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0)
        return fail(Step::Socket, lastSocketErrorCode());
    sockaddr_in address{};
    if (port < 0 || port > 65535 || !toAddress(bindAddress, port, address))
        return fail(Step::Bind, socketAddressNotAvailable);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail(Step::Bind, lastSocketErrorCode());
    fd_ = fd;
    return std::nullopt;
}

long UdpReceiver::receive(char* buffer, std::size_t size, int& error) {
    // MSG_TRUNC reports the datagram's real length, so an oversized one is recognised.
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
    const ssize_t received = ::recvfrom(fd_, buffer, size, MSG_TRUNC,
                                        reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (received >= 0) {
        error = 0;
        if (acceptedSender_ && sender.sin_addr.s_addr != *acceptedSender_) return 0;
        return static_cast<long>(received);
    }
    // A receive time-out shows as "would block" here; the loop knows it as a time-out.
    error = (errno == EAGAIN || errno == EWOULDBLOCK) ? socketTimedOut : lastSocketErrorCode();
    return -1;
}

int UdpReceiver::localPort() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    return ntohs(address.sin_port);
}

void UdpReceiver::close() noexcept {
    const int fd = fd_.exchange(-1);
    if (fd < 0) return;
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

}  // namespace corv::platform
