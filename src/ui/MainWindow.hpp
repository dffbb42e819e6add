#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>

#include "status/WindowSeam.hpp"

class Fl_Widget;

namespace corv::services {
class MessageLine;
}
namespace corv::settings {
class SettingsFile;
}

namespace corv::status {
class DisplayState;
}

namespace corv::ui {

class FltkControls;

// The program's one window, built with FLTK. Construct it on the window thread after the
// controls and the settings file; it reads the stored position, keeps it on a monitor and
// creates the window with all controls. run() then shows it and runs the loop until the quit
// message. Everything of WindowSeam may be called from any thread.
class MainWindow final : public status::WindowSeam {
  public:
    MainWindow(status::WindowOwner& owner, const services::MessageLine& messages,
               const status::DisplayState& display, settings::SettingsFile& settings,
               FltkControls& controls);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs the loop until a posted quit has been handled; returns its exit code.
    int run();

    // Calls onReadable on the window thread whenever fd has data; call on the window thread.
    void watchDescriptor(int fd, std::function<void()> onReadable);

    void postStart() override;
    void postQuit(int processExitCode) override;
    void repaintBand(status::Band band) override;
    void setTopmost(bool topmost) override;
    void showWarning(std::string caption, std::string text) override;

  private:
    class Window;
    struct Watch;

    void createControls();
    void onWidget(Fl_Widget& widget, std::size_t controlIndex);
    void quit(int processExitCode);
    void damage(status::Band band);

    status::WindowOwner& owner_;
    const services::MessageLine& messages_;
    const status::DisplayState& display_;
    settings::SettingsFile& settings_;
    FltkControls& controls_;
    std::unique_ptr<Window> window_;
    std::list<Watch> watches_;
    bool quitRequested_ = false;
    int exitCode_ = 0;
    bool topmost_ = false;
};

}  // namespace corv::ui
