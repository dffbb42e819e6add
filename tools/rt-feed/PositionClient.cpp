#include "PositionClient.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <vector>

namespace corv::rtfeed {

using namespace std::chrono_literals;

namespace {
constexpr double radiansToDegrees = 180.0 / std::numbers::pi;

std::vector<double> numbers(const std::string& text) {
    std::vector<double> values;
    std::stringstream fields(text);
    std::string field;
    while (std::getline(fields, field, ';')) {
        try {
            values.push_back(std::stod(field));
        } catch (const std::exception&) {
            return {};
        }
    }
    return values;
}
}  // namespace

std::optional<UserPosition> decodeQs121(const std::string& line) {
    const std::string prefix = "Qs121=";
    if (line.rfind(prefix, 0) != 0) return std::nullopt;
    const std::vector<double> v = numbers(line.substr(prefix.size()));
    if (v.size() != 7) return std::nullopt;
    UserPosition position;
    position.pitch = v[0] / 100000.0 * radiansToDegrees;
    position.bank = v[1] / 100000.0 * radiansToDegrees;
    position.heading = v[2] * radiansToDegrees;
    position.altitude = v[3] / 1000.0;
    position.groundSpeed = v[4] / 1000.0;
    position.latitude = v[5] * radiansToDegrees;
    position.longitude = v[6] * radiansToDegrees;
    return position;
}

PositionClient::PositionClient(std::string host, int port, std::string version)
    : host_(std::move(host)),
      port_(port),
      version_(std::move(version)),
      thread_([this](std::stop_token stop) { run(stop); }) {}

PositionClient::~PositionClient() {
    thread_.request_stop();
    std::lock_guard lock(connectionMutex_);
    connection_.close();  // wakes the reader
}

std::optional<UserPosition> PositionClient::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

double PositionClient::simulatorSecondsNow() const {
    using namespace std::chrono;
    if (simTimeMs_ == 0) return duration<double>(system_clock::now().time_since_epoch()).count();
    const steady_clock::time_point told{steady_clock::duration{simTimeTold_.load()}};
    return simTimeMs_ / 1000.0 + duration<double>(steady_clock::now() - told).count();
}

void PositionClient::dropConnection(int pauseSeconds) {
    pauseSeconds_ = pauseSeconds;
    std::lock_guard lock(connectionMutex_);
    connection_.close();
}

void PositionClient::handleLine(const std::string& line) {
    if (line == "Qs999=version") {
        std::lock_guard lock(connectionMutex_);
        connection_.send(R"({ "version":")" + version_ + R"(","level": 2 })");
        std::printf("rt-feed: version asked, answered %s\n", version_.c_str());
    } else if (auto position = decodeQs121(line)) {
        std::lock_guard lock(mutex_);
        position_ = position;
        ++positionLines_;
    } else if (line.rfind("Qs123=", 0) == 0) {
        try {
            simTimeMs_ = std::stoll(line.substr(6));
            simTimeTold_ = std::chrono::steady_clock::now().time_since_epoch().count();
        } catch (const std::exception&) {
        }
    } else if (line == "exit") {
        std::printf("rt-feed: the program said exit\n");
        std::lock_guard lock(connectionMutex_);
        connection_.close();
    }
}

void PositionClient::run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        if (const int pause = pauseSeconds_.exchange(0); pause > 0)
            std::this_thread::sleep_for(std::chrono::seconds(pause));
        platform::SocketError error = 0;
        platform::TcpConnection connection = platform::connectTcp(host_, port_, error);
        if (!connection.isOpen()) {
            std::this_thread::sleep_for(500ms);
            continue;
        }
        {
            std::lock_guard lock(connectionMutex_);
            connection_ = std::move(connection);
        }
        connected_ = true;
        std::printf("rt-feed: connected to %s:%d\n", host_.c_str(), port_);
        std::fflush(stdout);
        std::string pending;
        char buffer[4096];
        for (;;) {
            const long received = connection_.receive(buffer, sizeof buffer, error);
            if (received <= 0) break;
            pending.append(buffer, static_cast<std::size_t>(received));
            for (auto end = pending.find('\n'); end != std::string::npos;
                 end = pending.find('\n')) {
                std::string line = pending.substr(0, end);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                pending.erase(0, end + 1);
                handleLine(line);
            }
        }
        connected_ = false;
        {
            std::lock_guard lock(connectionMutex_);
            connection_.close();
        }
        std::printf("rt-feed: disconnected\n");
        std::fflush(stdout);
    }
}

}  // namespace corv::rtfeed
