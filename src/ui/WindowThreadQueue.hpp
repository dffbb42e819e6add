#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace corv::ui {

// Hands work from any thread to the FLTK loop, which runs it in the order it was posted.
// Construct it on the window thread before the loop runs; it must outlive the loop.
class WindowThreadQueue {
  public:
    WindowThreadQueue();
    ~WindowThreadQueue();
    WindowThreadQueue(const WindowThreadQueue&) = delete;
    WindowThreadQueue& operator=(const WindowThreadQueue&) = delete;

    void post(std::function<void()> job);
    bool onWindowThread() const { return std::this_thread::get_id() == windowThread_; }

  private:
    static void wakeUp(void* queue);
    void runPending();

    const std::thread::id windowThread_;
    std::mutex mutex_;
    std::deque<std::function<void()>> jobs_;
    bool wakeUpPending_ = false;
};

}  // namespace corv::ui
