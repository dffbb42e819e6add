#include "platform/UdpSender.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

#include "platform/SocketErrors.hpp"

namespace corv::platform {

UdpSender::UdpSender(const std::string& host, int port, const std::string& sourceAddress) {
    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, host.c_str(), &destination.sin_addr) != 1) return;
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && !sourceAddress.empty()) {
        sockaddr_in source{};
        source.sin_family = AF_INET;
        if (::inet_pton(AF_INET, sourceAddress.c_str(), &source.sin_addr) != 1 ||
            ::bind(fd_, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    address_.assign(reinterpret_cast<const char*>(&destination), sizeof destination);
}

UdpSender::~UdpSender() {
    if (fd_ >= 0) ::close(fd_);
}

SocketError UdpSender::send(std::string_view datagram) {
    const auto* destination = reinterpret_cast<const sockaddr*>(address_.data());
    const ssize_t sent = ::sendto(fd_, datagram.data(), datagram.size(), 0, destination,
                                  static_cast<socklen_t>(address_.size()));
    return sent < 0 ? lastSocketErrorCode() : 0;
}

}  // namespace corv::platform
