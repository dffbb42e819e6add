#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corv::test {

// A download site on 127.0.0.1 at a free port: answers GET /path with the file root/path
// (404 when there is none), one connection at a time, each closed after its answer. A path
// can be set to be cut short: the full length is announced but only some bytes are sent.
class LoopbackHttpServer {
  public:
    explicit LoopbackHttpServer(std::filesystem::path root);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // "http://127.0.0.1:<port>/"
    std::string base() const;
    void cutShort(const std::string& path, std::size_t sentBytes);
    // The paths asked for so far, without the leading "/".
    std::vector<std::string> requests() const;

  private:
    void serve();
    void answer(int connection);

    std::filesystem::path root_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, std::size_t> cut_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace corv::test
