#include "support/LoopbackHttpServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "support/TempFolder.hpp"

namespace corv::test {

namespace {
constexpr int pollMilliseconds = 20;  // how soon the server notices it is to stop

void sendAll(int connection, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(connection, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0) return;
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

std::string readRequestHead(int connection) {
    timeval timeout{5, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0) break;
        head.append(buffer, static_cast<std::size_t>(received));
    }
    return head;
}
}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::filesystem::path root) : root_(std::move(root)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("loopback HTTP server: no listening socket");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string LoopbackHttpServer::base() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void LoopbackHttpServer::cutShort(const std::string& path, std::size_t sentBytes) {
    const std::lock_guard lock(mutex_);
    cut_[path] = sentBytes;
}

std::vector<std::string> LoopbackHttpServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackHttpServer::serve() {
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, pollMilliseconds) <= 0) continue;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) continue;
        answer(connection);
        ::close(connection);
    }
}

void LoopbackHttpServer::answer(int connection) {
    const std::string head = readRequestHead(connection);
    const auto pathStart = head.find(' ');
    const auto pathEnd = head.find(' ', pathStart + 1);
    if (!head.starts_with("GET /") || pathEnd == std::string::npos) return;
    const std::string path = head.substr(pathStart + 2, pathEnd - pathStart - 2);

    std::size_t sent = std::string::npos;
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(path);
        if (const auto cut = cut_.find(path); cut != cut_.end()) sent = cut->second;
    }
    const std::filesystem::path file = root_ / path;
    std::error_code ec;
    if (path.find("..") != std::string::npos || !std::filesystem::is_regular_file(file, ec)) {
        const std::string notFound =
            "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found";
        sendAll(connection, notFound.data(), notFound.size());
        return;
    }
    const std::string body = readFile(file);
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                              "\r\nConnection: close\r\n\r\n";
    sendAll(connection, reply.data(), reply.size());
    sendAll(connection, body.data(), std::min(sent, body.size()));
}

}  // namespace corv::test
