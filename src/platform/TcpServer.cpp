#include "platform/TcpServer.hpp"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/SocketErrors.hpp"

namespace corv::platform {

namespace {
void closeDescriptor(std::atomic<int>& fd) noexcept {
    const int descriptor = fd.exchange(-1);
    if (descriptor < 0) return;
    // shutdown first: it wakes a thread blocked in accept or recv on this socket.
    ::shutdown(descriptor, SHUT_RDWR);
    ::close(descriptor);
}
}  // namespace

TcpConnection& TcpConnection::operator=(TcpConnection&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_.exchange(-1);
    }
    return *this;
}

SocketError TcpConnection::disableNagle() {
    const int on = 1;
    return ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0 ? 0
                                                                            : lastSocketErrorCode();
}

SocketError TcpConnection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            return lastSocketErrorCode();
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return 0;
}

long TcpConnection::receive(char* buffer, std::size_t size, SocketError& error) {
    for (;;) {
        const ssize_t received = ::recv(fd_, buffer, size, 0);
        if (received < 0 && errno == EINTR) continue;
        error = received < 0 ? lastSocketErrorCode() : 0;
        return static_cast<long>(received);
    }
}

void TcpConnection::close() noexcept {
    closeDescriptor(fd_);
}

std::optional<ListenFailure> TcpListener::open(const std::string& port) {
    using Step = ListenFailure::Step;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* address = nullptr;
    if (const int result = ::getaddrinfo(nullptr, port.c_str(), &hints, &address); result != 0) {
        return ListenFailure{Step::AddressLookup, hostLookupErrorCode(result)};
    }
    const auto fail = [&](Step step) {
        const ListenFailure failure{step, lastSocketErrorCode()};
        ::freeaddrinfo(address);
        close();
        return failure;
    };
    fd_ = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
    if (fd_ < 0) return fail(Step::Socket);
    const int on = 1;
    if (::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0)
        return fail(Step::ReuseAddress);
    if (::bind(fd_, address->ai_addr, address->ai_addrlen) != 0) return fail(Step::Bind);
    if (::listen(fd_, SOMAXCONN) != 0) return fail(Step::Listen);
    ::freeaddrinfo(address);
    return std::nullopt;
}

TcpConnection TcpListener::accept(SocketError& error, std::chrono::milliseconds timeout) {
    for (;;) {
        // A listener closed by another thread ends the wait (shutdown also wakes the poll).
        const int fd = fd_.load();
        if (fd < 0) {
            error = socketErrorCode(EBADF);
            return TcpConnection();
        }
        pollfd listening{fd, POLLIN, 0};
        const int ready = ::poll(&listening, 1, static_cast<int>(timeout.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            error = socketTimedOut;
            return TcpConnection();
        }
        const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0 && errno == EINTR) continue;
        error = client < 0 ? lastSocketErrorCode() : 0;
        return client < 0 ? TcpConnection() : TcpConnection(client);
    }
}

int TcpListener::localPort() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    return ntohs(address.sin_port);
}

void TcpListener::close() noexcept {
    closeDescriptor(fd_);
}

TcpConnection connectTcp(const std::string& host, int port, SocketError& error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* address = nullptr;
    if (const int result =
            ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &address);
        result != 0) {
        error = hostLookupErrorCode(result);
        return {};
    }
    TcpConnection connection(::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, 0));
    const bool connected =
        connection.isOpen() &&
        ::connect(connection.descriptor(), address->ai_addr, address->ai_addrlen) == 0;
    error = connected ? 0 : lastSocketErrorCode();
    ::freeaddrinfo(address);
    if (!connected) connection.close();
    return connection;
}

}  // namespace corv::platform
