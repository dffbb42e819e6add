#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SocketErrors.hpp"

namespace corv::platform {

// The result of a socket operation: 0, or the socket error code of the program's error table.
using SocketError = int;

// A connected TCP stream. Sending to a peer that has gone never raises a signal.
class TcpConnection {
  public:
    TcpConnection() = default;
    explicit TcpConnection(int descriptor) : fd_(descriptor) {}
    TcpConnection(TcpConnection&& other) noexcept : fd_(other.fd_.exchange(-1)) {}
    TcpConnection& operator=(TcpConnection&& other) noexcept;
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;
    ~TcpConnection() { close(); }

    bool isOpen() const noexcept { return fd_ >= 0; }
    int descriptor() const noexcept { return fd_; }
    SocketError disableNagle();
    // Sends every byte or fails.
    SocketError send(std::string_view bytes);
    // One receive into the buffer: the byte count (0 when the peer closed), or -1 with error set.
    long receive(char* buffer, std::size_t size, SocketError& error);
    void close() noexcept;

  private:
    std::atomic<int> fd_{-1};
};

// Why a listening socket could not be opened: the failing step and its error code.
struct ListenFailure {
    enum class Step { AddressLookup, Socket, ReuseAddress, Bind, Listen };
    Step step;
    SocketError error;
};

// A listening TCP socket on all local IPv4 addresses. close() may be called from another
// thread to end a pending accept.
class TcpListener {
  public:
    TcpListener() = default;
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;
    ~TcpListener() { close(); }

    // Nothing on success; the socket stays closed on failure.
    std::optional<ListenFailure> open(const std::string& port);
    // Waits up to the time-out for a client; an unopened connection on failure, with error
    // socketTimedOut when no client came in time.
    TcpConnection accept(SocketError& error, std::chrono::milliseconds timeout);
    bool isOpen() const noexcept { return fd_ >= 0; }
    // The port it listens on (useful when it was opened on port "0").
    int localPort() const;
    void close() noexcept;

  private:
    std::atomic<int> fd_{-1};
};

// Connects to a TCP server; an unopened connection on failure.
TcpConnection connectTcp(const std::string& host, int port, SocketError& error);

}  // namespace corv::platform
