#include "realtraffic/UdpReader.hpp"

#include <exception>
#include <stdexcept>

#include <fmt/format.h>

#include "platform/UdpReceiver.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/SocketErrorText.hpp"

namespace corv::realtraffic {

namespace {
constexpr int readerErrorRestartSeconds = 15;

bool isQuietReceiveError(int error) {
    return error == platform::socketTimedOut || error == platform::socketInterrupted ||
           error == platform::socketWouldBlock;
}
}  // namespace

UdpReader::UdpReader(std::string threadName, ReaderServices services, ReceiverGauge& gauge,
                     ReceiverGauge* partnerGauge)
    : services_(std::move(services)),
      name_(std::move(threadName)),
      gauge_(gauge),
      partnerGauge_(partnerGauge) {}

void UdpReader::threadBody(const ReaderSetup& setup) {
    platform::UdpReceiver socket;
    try {
        if (const auto failure = socket.open(setup.bindAddress, setup.port, setup.receiveTimeout,
                                             setup.acceptedSender)) {
            const std::string error = services::socketErrorText(failure->error);
            throw std::runtime_error(
                failure->step == platform::UdpOpenFailure::Step::Socket
                    ? fmt::format("failed to create the socket, error: {}", error)
                    : fmt::format("bind to stream socket failed, error: {}", error));
        }
        localPort_ = socket.localPort();
        showStatus(ReaderStatus::Receiving);
        services::log("{} connected", name_);
        receiveLoop(socket, setup.location);
        socket.close();
        stopped();
    } catch (const std::exception& error) {
        fail(error.what());
    } catch (...) {
        fail("Unknown exception");
    }
    socket.close();
    localPort_ = 0;
    showStatus(ReaderStatus::Stopped);
    services::log("{} disconnected", name_);
}

void UdpReader::receiveLoop(platform::UdpReceiver& socket, RealTrafficLocation location) {
    previousDatagram_.clear();
    while (!stopFlag_) {
        int error = 0;
        const long received = socket.receive(buffer_.data(), bufferBytes, error);
        if (received < 0) {
            if (isQuietReceiveError(error)) continue;
            if (stopFlag_) break;
            throw std::runtime_error(
                fmt::format("receive error: {}", services::socketErrorText(error)));
        }
        if (received == 0) continue;
        const auto length = static_cast<std::size_t>(received);
        // A datagram that fills the buffer may have been cut: it is not trusted.
        if (length > bufferBytes - 1) {
            if (!services_.run.stopRequested) services::log("buffer overrun: {} bytes", received);
            continue;
        }
        buffer_[length] = '\0';
        const std::string_view datagram(buffer_.data(), length);
        // A repetition still shows that the stream is alive, for the watchdog.
        ++gauge_.datagrams;
        // Broadcasts from another PC can arrive more than once; a local feed repeats on purpose.
        if (location != RealTrafficLocation::Local) {
            if (datagram == previousDatagram_) continue;
            previousDatagram_.assign(datagram);
        }
        processDatagram(datagram);
    }
}

void UdpReader::showStatus(ReaderStatus status) {
    gauge_.status = status;
    if (partnerGauge_) partnerGauge_->status = status;
    if (services_.repaint) services_.repaint();
}

void UdpReader::fail(const std::string& error) {
    services_.messages.showMessage(fmt::format("The {} has stopped with error: {}", name_, error),
                                   true);
    if (!services_.run.stopRequested)
        services_.run.requestStop(services::ExitReason::ReaderError, readerErrorRestartSeconds);
}

}  // namespace corv::realtraffic
