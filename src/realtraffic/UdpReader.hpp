#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "realtraffic/ReaderStatus.hpp"
#include "realtraffic/RealTrafficPort.hpp"

namespace corv::services {
class MessageLine;
class RunState;
}  // namespace corv::services

namespace corv::platform {
class UdpReceiver;
}

namespace corv::realtraffic {

// What a receiver thread reports to the rest of the program.
struct ReaderServices {
    services::RunState& run;
    services::MessageLine& messages;
    std::function<void()> repaint;  // a status shown in the window changed
};

// Where a receiver listens.
struct ReaderSetup {
    std::string bindAddress;     // dotted IPv4 address; "" for any local address
    std::string acceptedSender;  // dotted IPv4 address; "" for datagrams from anyone
    int port = 0;
    std::chrono::milliseconds receiveTimeout{1000};
    RealTrafficLocation location = RealTrafficLocation::NotDetected;
};

// The part both receivers share: the socket, the receive loop and the end of the thread.
// A datagram costs at most itself; only socket faults end the receiver.
class UdpReader {
  public:
    static constexpr std::size_t bufferBytes = 16384;

    // partnerGauge, when given, shows this receiver's start and end too (the traffic
    // receiver speaks for both).
    UdpReader(std::string threadName, ReaderServices services, ReceiverGauge& gauge,
              ReceiverGauge* partnerGauge);
    virtual ~UdpReader() = default;
    UdpReader(const UdpReader&) = delete;
    UdpReader& operator=(const UdpReader&) = delete;

    // The whole life of the receiver thread. A fault shows "The {} has stopped with error:
    // {}" and ends the run with READER ERROR and a restart 15 s later.
    void threadBody(const ReaderSetup& setup);

    // The loop ends within one receive time-out.
    void setStopFlag(bool stop) noexcept { stopFlag_ = stop; }
    const std::string& name() const noexcept { return name_; }
    ReceiverGauge& gauge() noexcept { return gauge_; }
    // The port the socket is bound to (useful when it was opened on port 0); 0 while unbound.
    int localPort() const noexcept { return localPort_; }

    virtual void processDatagram(std::string_view datagram) = 0;
    virtual void stopped() = 0;

  protected:
    ReaderServices services_;

  private:
    void receiveLoop(platform::UdpReceiver& socket, RealTrafficLocation location);
    void showStatus(ReaderStatus status);
    void fail(const std::string& error);

    std::string name_;
    ReceiverGauge& gauge_;
    ReceiverGauge* partnerGauge_;
    std::atomic<bool> stopFlag_{false};
    std::atomic<int> localPort_{0};
    std::array<char, bufferBytes + 1> buffer_{};
    std::string previousDatagram_;
};

}  // namespace corv::realtraffic
