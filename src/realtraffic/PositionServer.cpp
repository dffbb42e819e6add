#include "realtraffic/PositionServer.hpp"

#include <stdexcept>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "common/ProgramIdentity.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/SocketErrorText.hpp"
#include "services/TimeText.hpp"

namespace corv::realtraffic {

namespace {
constexpr std::size_t receiveBufferBytes = 16384;
// How long a wait for RealTraffic goes before it looks whether the run is stopping.
constexpr std::chrono::milliseconds acceptSlice{100};

std::string startFailureText(const platform::ListenFailure& failure, const std::string& port) {
    using Step = platform::ListenFailure::Step;
    const std::string error = services::socketErrorText(failure.error);
    switch (failure.step) {
        case Step::AddressLookup:
            return fmt::format("getaddrinfo failed with error {}", failure.error);
        case Step::Socket:
            return "socket failed with error " + error;
        case Step::ReuseAddress:
            return "setsockopt(SO_REUSEADDR) failed";
        case Step::Bind:
            return "Bind failed at port " + port + " with error " + error;
        case Step::Listen:
            return "listen failed with error " + error;
    }
    return "listen failed with error " + error;
}
}  // namespace

PositionServer::PositionServer(const services::RunState& run, services::MessageLine& messages,
                               Effects effects)
    : run_(run), messages_(messages), effects_(std::move(effects)) {}

bool PositionServer::shuttingDown() const {
    return run_.stopOrClosed();
}

void PositionServer::start(const std::string& port) {
    if (const auto failure = listener_.open(port))
        throw std::runtime_error(startFailureText(*failure, port));
}

bool PositionServer::waitForClient() {
    if (connected_) return false;
    // Any stop of the run ends the wait, whoever asks for it: the wait looks again every slice.
    platform::TcpConnection client;
    while (!client.isOpen()) {
        if (shuttingDown()) return false;
        platform::SocketError error = 0;
        client = listener_.accept(error, acceptSlice);
        if (!client.isOpen() && error != platform::socketTimedOut) return false;
    }
    if (const platform::SocketError noDelay = client.disableNagle(); noDelay != 0) {
        const std::string reason =
            fmt::format("{} setsockopt failed with error {}", services::clockText(),
                        services::socketErrorText(noDelay));
        if (!shuttingDown()) services::log("waitForClient interrupted: {}", reason);
        return false;
    }
    client_ = std::move(client);
    connected_ = true;
    return true;
}

std::string PositionServer::receive() {
    std::vector<char> buffer(receiveBufferBytes, '\0');
    platform::SocketError error = 0;
    const long received = client_.receive(buffer.data(), buffer.size(), error);
    if (received < 0) {
        if (!shuttingDown()) services::log("receive: {}", services::socketErrorText(error));
        return {};
    }
    if (static_cast<std::size_t>(received) >= receiveBufferBytes) {
        if (!shuttingDown()) services::log("receive: buffer overrun: {}", received);
        return {};
    }
    return std::string(buffer.data(), static_cast<std::size_t>(received));
}

bool PositionServer::sendDataPacket(const std::string& line) {
    if (const platform::SocketError error = client_.send(line); error != 0) {
        if (!shuttingDown())
            services::log("sendDataPacket to RealTraffic failed: {}",
                          services::socketErrorText(error));
        connected_ = false;
        client_.close();
        if (!shuttingDown()) services::log("RealTraffic client socket closed");
        return false;
    }
    return true;
}

void PositionServer::stop() {
    if (connected_) client_.send("exit\r\n");
    connected_ = false;
    client_.close();
    // Closing the listening socket also ends a wait in accept.
    listener_.close();
}

std::string waitingForRealTrafficText() {
    return fmt::format("Waiting for RealTraffic to connect to {} ...", programName);
}

void PositionServer::connectFirstTime(RealTrafficLocation location) {
    if (location == RealTrafficLocation::NotDetected) return;
    messages_.showMessage(waitingForRealTrafficText(), false);
    effects_.resetReceivers();
    if (!waitForClient()) return;
    // Gone before the version is asked: a missing reply is offered to an empty message line.
    messages_.withdrawMessage(waitingForRealTrafficText());
    sendDataPacket("Qs999=version\r\n");
    lf_processRTVersion(receive());
    effects_.showConnected(true);
    services::log("RealTraffic connected");
}

void PositionServer::lf_processRTVersion(const std::string& reply) {
    if (reply.empty()) {
        messages_.offerMessage("No RealTraffic version received?");
        return;
    }
    try {
        const nlohmann::json version = nlohmann::json::parse(reply);
        if (version.is_object()) {
            const auto text = version.find("version");
            effects_.showVersion(text != version.end() && text->is_string()
                                     ? text->get<std::string>()
                                     : std::string());
        } else {
            effects_.showVersion({});
        }
    } catch (const nlohmann::json::exception& e) {
        services::log("{}: JSON parse failed: {}", "lf_processRTVersion", e.what());
    }
}

void PositionServer::sendPosition(RealTrafficLocation location, const PositionSample& user) {
    if (location == RealTrafficLocation::NotDetected || !hasPosition(user.latitude, user.longitude))
        return;
    if (connected_) {
        if (sendDataPacket(qs121Line(user))) return;
        // RealTraffic is gone: its traffic goes with it until it comes back.
        effects_.showConnected(false);
        if (!shuttingDown()) effects_.removeLiveTraffic();
        effects_.resetReceivers();
        messages_.showMessage(
            fmt::format("{} RealTraffic gone? Wait for RealTraffic to re-connect ...",
                        services::clockText()),
            true);
    }
    if (!connected_ && run_.exitReason() == services::ExitReason::NotYetSet && waitForClient()) {
        effects_.showConnected(true);
        messages_.showMessage(fmt::format("{} RealTraffic re-connected", services::clockText()),
                              true);
    }
}

void PositionServer::sendSimTime(std::int64_t unixSeconds) {
    if (connected_ && unixSeconds > 0) sendDataPacket(qs123Line(unixSeconds));
}

}  // namespace corv::realtraffic
