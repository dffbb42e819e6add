#pragma once

#include <string>
#include <string_view>

#include "platform/TcpServer.hpp"

namespace corv::platform {

// Sends datagrams to one address and port.
class UdpSender {
  public:
    // sourceAddress, when given, is the dotted address the datagrams come from.
    UdpSender(const std::string& host, int port, const std::string& sourceAddress = {});
    UdpSender(const UdpSender&) = delete;
    UdpSender& operator=(const UdpSender&) = delete;
    ~UdpSender();

    bool isOpen() const noexcept { return fd_ >= 0; }
    // 0, or the socket error code of the failed send.
    SocketError send(std::string_view datagram);

  private:
    int fd_ = -1;
    std::string address_;  // the destination, in the system's form
};

}  // namespace corv::platform
