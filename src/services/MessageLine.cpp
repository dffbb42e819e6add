#include "services/MessageLine.hpp"

#include <algorithm>

#include "services/Log.hpp"

namespace corv::services {

MessageLine::MessageLine(std::function<void()> requestRepaint)
    : requestRepaint_(std::move(requestRepaint)) {}

void MessageLine::showMessage(const std::string& text, bool alsoLog) {
    {
        std::lock_guard lock(statusMutex_);
        if (!errorText_.empty()) return;
        messageText_ = text;
        messageSetAt_ = text.empty() ? 0 : std::max(messageClock_, 1);
    }
    if (alsoLog && !text.empty()) log(text);
    requestRepaint_();
}

void MessageLine::showError(const std::string& text) {
    {
        // Logging under the status mutex keeps the lock order status -> log everywhere.
        std::lock_guard lock(statusMutex_);
        messageText_.clear();
        messageSetAt_ = 0;
        errorText_ = text;
        log("Error {}", text);
    }
    requestRepaint_();
}

void MessageLine::offerMessage(const std::string& text) {
    {
        std::lock_guard lock(statusMutex_);
        if (!errorText_.empty() || !messageText_.empty()) return;
        messageText_ = text;
        messageSetAt_ = std::max(messageClock_, 1);
        log(text);
    }
    requestRepaint_();
}

void MessageLine::clearMessage() {
    {
        std::lock_guard lock(statusMutex_);
        if (errorText_.empty()) {
            messageText_.clear();
            messageSetAt_ = 0;
        }
    }
    requestRepaint_();
}

void MessageLine::withdrawMessage(const std::string& text) {
    {
        std::lock_guard lock(statusMutex_);
        if (messageText_ != text) return;
        messageText_.clear();
        messageSetAt_ = 0;
    }
    requestRepaint_();
}

void MessageLine::clearAll() {
    {
        std::lock_guard lock(statusMutex_);
        errorText_.clear();
        messageText_.clear();
        messageSetAt_ = 0;
    }
    requestRepaint_();
}

void MessageLine::onSecondTick() {
    bool expired = false;
    {
        std::lock_guard lock(statusMutex_);
        const std::int32_t before = messageClock_;
        expired = messageSetAt_ > 0 && before - messageSetAt_ + 1 > timeoutSeconds;
        messageClock_ = before + 1;
    }
    if (expired) clearMessage();
}

MessageLine::Texts MessageLine::texts() const {
    std::lock_guard lock(statusMutex_);
    return {messageText_, errorText_};
}

}  // namespace corv::services
