#include "ui/WindowThreadQueue.hpp"

#include <exception>

#include <FL/Fl.H>

#include "services/Log.hpp"

namespace corv::ui {

namespace {
constexpr double menuRetrySeconds = 0.05;

// FLTK's wake-ups from other threads work only after its lock has been taken once by the
// window thread; FLTK keeps that state process-wide, so this does too.
void enableWakeUps() {
    static std::once_flag once;
    std::call_once(once, [] { Fl::lock(); });
}
}  // namespace

WindowThreadQueue::WindowThreadQueue() : windowThread_(std::this_thread::get_id()) {
    enableWakeUps();
}

WindowThreadQueue::~WindowThreadQueue() {
    Fl::remove_timeout(&WindowThreadQueue::wakeUp, this);
}

void WindowThreadQueue::post(std::function<void()> job) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        wake = !wakeUpPending_;
        wakeUpPending_ = true;
    }
    if (wake && Fl::awake(&WindowThreadQueue::wakeUp, this) != 0) {
        // FLTK's wake-up ring is full: the next post tries again.
        std::lock_guard lock(mutex_);
        wakeUpPending_ = false;
    }
}

void WindowThreadQueue::wakeUp(void* queue) {
    static_cast<WindowThreadQueue*>(queue)->runPending();
}

void WindowThreadQueue::runPending() {
    {
        std::lock_guard lock(mutex_);
        wakeUpPending_ = false;
    }
    // An open menu points into its list's entries: changing them now would pull them from
    // under it, so everything waits until the menu is closed.
    if (Fl::grab() != nullptr) {
        if (!Fl::has_timeout(&WindowThreadQueue::wakeUp, this)) {
            Fl::add_timeout(menuRetrySeconds, &WindowThreadQueue::wakeUp, this);
        }
        return;
    }
    // One job at a time, so that a job which runs a nested loop (a message box) leaves the
    // later jobs in order for that loop.
    for (;;) {
        std::function<void()> job;
        {
            std::lock_guard lock(mutex_);
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        // An exception must not unwind through the toolkit's loop.
        try {
            job();
        } catch (const std::exception& e) {
            services::logMarked("{} exception: {}", "window thread", e.what());
        }
    }
}

}  // namespace corv::ui
