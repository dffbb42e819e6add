#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/SocketErrors.hpp"

namespace corv::platform {

// Why a UDP socket could not be opened: the failing step and its socket error code.
struct UdpOpenFailure {
    enum class Step { Socket, Bind };
    Step step;
    int error;
};

// An IPv4 UDP socket that receives datagrams with a time-out.
class UdpReceiver {
  public:
    UdpReceiver() = default;
    UdpReceiver(const UdpReceiver&) = delete;
    UdpReceiver& operator=(const UdpReceiver&) = delete;
    ~UdpReceiver() { close(); }

    // Binds to the dotted address ("" for any local address) and port (0 picks a free one).
    // A receive that waits longer than the time-out fails with socketTimedOut. With a dotted
    // acceptedSender, datagrams from any other address are dropped unseen; a text that is no
    // address fails like an address that cannot be bound.
    std::optional<UdpOpenFailure> open(const std::string& bindAddress, int port,
                                       std::chrono::milliseconds timeout,
                                       const std::string& acceptedSender = {});

    // One datagram into the buffer. Returns its full length, which is larger than size when it
    // did not fit (only size bytes are stored), 0 for a datagram of a sender that is not
    // accepted; or -1 with error set to the socket error code.
    long receive(char* buffer, std::size_t size, int& error);

    bool isOpen() const noexcept { return fd_ >= 0; }
    int localPort() const;
    void close() noexcept;

  private:
    std::atomic<int> fd_{-1};
    std::optional<std::uint32_t> acceptedSender_;  // network byte order
};

}  // namespace corv::platform
