#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace corv::services {

// The two texts the window shows below the controls: a transient message that clears itself
// after 24 second ticks, and a persistent error that blocks messages until a restart.
class MessageLine {
  public:
    struct Texts {
        std::string message;
        std::string error;
    };

    // requestRepaint asks the window to repaint its message band; it may be called from any
    // thread and must not block on the window.
    explicit MessageLine(std::function<void()> requestRepaint);

    void showMessage(const std::string& text, bool alsoLog);
    void showError(const std::string& text);
    void clearMessage();
    // Clears the message only while it is still this text: a newer one stays.
    void withdrawMessage(const std::string& text);
    // Shows (and logs) the text only when no message or error is showing.
    void offerMessage(const std::string& text);
    // Clears the persistent error too; used when a run closes down for a restart.
    void clearAll();

    // Called at every second tick of the run cycle.
    void onSecondTick();

    Texts texts() const;

  private:
    static constexpr std::int32_t timeoutSeconds = 24;

    std::function<void()> requestRepaint_;
    mutable std::mutex statusMutex_;
    std::string messageText_;
    std::int32_t messageSetAt_ = 0;
    std::int32_t messageClock_ = 0;
    std::string errorText_;
};

}  // namespace corv::services
