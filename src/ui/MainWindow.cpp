#include "ui/MainWindow.hpp"

#include <chrono>
#include <cstdint>
#include <exception>

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Input.H>
#include <FL/fl_ask.H>

#include "common/ProgramIdentity.hpp"
#include "platform/WindowStacking.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/DisplayState.hpp"
#include "ui/ControlLayout.hpp"
#include "ui/FltkCanvas.hpp"
#include "ui/FltkControls.hpp"
#include "ui/FltkNative.hpp"
#include "ui/FltkScreens.hpp"
#include "ui/WindowBands.hpp"
#include "ui/WindowIcon.hpp"
#include "ui/WindowPainter.hpp"
#include "ui/WindowPlacement.hpp"

namespace corv::ui {

namespace {
const Color controlBackground = colors::lightBlue;
constexpr int controlTextSize = 12;
constexpr int editTextSize = 11;
constexpr int checkMarkSize = 10;  // FLTK sizes the check square by the label size

Fl_Color flColor(Color color) {
    return fl_rgb_color(color.red, color.green, color.blue);
}

// Exceptions must not unwind through the toolkit's event handling.
template <typename Action>
void guarded(const char* where, Action&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        services::logMarked("{} exception: {}", where, e.what());
    } catch (...) {
        services::logMarked("{} exception: {}", where, "unknown");
    }
}
}  // namespace

// The FLTK window: paints the bands under its controls, double-buffered.
class MainWindow::Window final : public Fl_Double_Window {
  public:
    Window(int x, int y, MainWindow& main)
        : Fl_Double_Window(x, y, clientWidth, clientHeight), main_(main) {
        label(programName.data());  // a literal: it outlives the window
        xclass(programName.data());
        size_range(clientWidth, clientHeight, clientWidth, clientHeight);
    }

    MainWindow& main() { return main_; }

    void draw() override {
        // Only controls changed: redraw just those; the bands are still in the buffer.
        if ((damage() & ~FL_DAMAGE_CHILD) == 0) {
            draw_children();
            return;
        }
        FltkCanvas canvas;
        canvas.fill({0, 0, w(), h()}, colors::black);
        paintWindow(canvas, main_.display_.snapshot(), main_.messages_.texts(),
                    [this](status::ControlId id) { return main_.controls_.isEnabled(id); });
        draw_children();
    }

  private:
    MainWindow& main_;
};

struct MainWindow::Watch {
    int fd;
    std::function<void()> onReadable;
};

MainWindow::MainWindow(status::WindowOwner& owner, const services::MessageLine& messages,
                       const status::DisplayState& display, settings::SettingsFile& settings,
                       FltkControls& controls)
    : owner_(owner),
      messages_(messages),
      display_(display),
      settings_(settings),
      controls_(controls) {
    settings_.readWindowPosition([this](int previousX, int previousY) {
        keepWindowOnScreen(previousX, previousY, screenMonitors(), settings_);
    });
    window_ = std::make_unique<Window>(settings::MAIN_WINDOW_X.value(),
                                       settings::MAIN_WINDOW_Y.value(), *this);
    const WindowIcon icon = drawWindowIcon();
    const Fl_RGB_Image iconImage(icon.rgba.data(), WindowIcon::size, WindowIcon::size, 4);
    window_->icon(&iconImage);  // FLTK keeps its own copy
    window_->callback(
        [](Fl_Widget*, void* data) {
            // FLTK also closes a window on Escape; only the close button counts.
            if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
            auto* main = static_cast<MainWindow*>(data);
            guarded("onCloseClicked", [main] { main->owner_.onCloseClicked(); });
        },
        this);
    createControls();
    window_->end();
    controls_.onLabelsChanged([this] { damage(status::Band::Controls); });
}

MainWindow::~MainWindow() {
    controls_.onLabelsChanged(nullptr);
    controls_.detachAll();
    for (const Watch& watch : watches_) {
        Fl::remove_fd(watch.fd);
    }
}

void MainWindow::createControls() {
    const std::vector<ControlPlacement>& layout = controlLayout();
    for (std::size_t index = 0; index < layout.size(); ++index) {
        const ControlPlacement& control = layout[index];
        const Rect r = controlRect(control);
        Fl_Widget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::Edit: {
                auto* edit = new Fl_Input(r.left, r.top, r.width(), r.height());
                edit->textsize(editTextSize);
                edit->color(flColor(controlBackground));
                edit->when(FL_WHEN_ENTER_KEY_ALWAYS);
                edit->deactivate();
                widget = edit;
                break;
            }
            case ControlKind::Check: {
                auto* check = new Fl_Check_Button(r.left, r.top, r.width(), r.height());
                check->box(FL_FLAT_BOX);  // opaque, so a redraw of the box alone is clean
                check->color(flColor(controlBackground));
                check->labelsize(checkMarkSize);
                check->clear_visible_focus();
                check->value(control.checkBox->value() ? 1 : 0);
                widget = check;
                break;
            }
            case ControlKind::List: {
                // FLTK opens the list as a menu of its own size: the drop height has no use.
                auto* list = new Fl_Choice(r.left, r.top, r.width(), r.height());
                list->textsize(controlTextSize);
                widget = list;
                break;
            }
            case ControlKind::Button: {
                auto* button = new Fl_Button(r.left, r.top, r.width(), r.height());
                button->label(control.name.data());  // the layout's texts live forever
                button->labelsize(controlTextSize);
                button->deactivate();
                widget = button;
                break;
            }
        }
        widget->callback(
            [](Fl_Widget* w, void* data) {
                auto& main = static_cast<Window*>(w->window())->main();
                main.onWidget(*w, static_cast<std::size_t>(reinterpret_cast<std::intptr_t>(data)));
            },
            reinterpret_cast<void*>(static_cast<std::intptr_t>(index)));
        controls_.attach(control.id, *widget);
    }
}

void MainWindow::onWidget(Fl_Widget& widget, std::size_t controlIndex) {
    const ControlPlacement& control = controlLayout().at(controlIndex);
    guarded("window command", [&] {
        switch (control.kind) {
            case ControlKind::Check:
            case ControlKind::Button:
                owner_.onCommand(control.id);
                break;
            case ControlKind::List: {
                auto& list = static_cast<Fl_Choice&>(widget);
                const char* text = list.text();
                owner_.onListSelected(control.id, list.value(), text != nullptr ? text : "");
                break;
            }
            case ControlKind::Edit:
                owner_.onEditEnter(control.id, static_cast<Fl_Input&>(widget).value());
                break;
        }
    });
}

int MainWindow::run() {
    window_->show();
    if (topmost_) platform::keepWindowAbove(nativeDisplay(), nativeWindow(*window_), true);
    while (!quitRequested_) {
        Fl::wait();
    }
    window_->hide();
    return exitCode_;
}

void MainWindow::watchDescriptor(int fd, std::function<void()> onReadable) {
    Watch& watch = watches_.emplace_back(Watch{fd, std::move(onReadable)});
    Fl::add_fd(
        fd, FL_READ,
        [](int, void* data) {
            auto* watched = static_cast<Watch*>(data);
            guarded("watchDescriptor", [watched] { watched->onReadable(); });
        },
        &watch);
}

void MainWindow::postStart() {
    controls_.windowThread().post(
        [this] { guarded("onStartMessage", [this] { owner_.onStartMessage(); }); });
}

void MainWindow::postQuit(int processExitCode) {
    controls_.windowThread().post([this, processExitCode] { quit(processExitCode); });
}

void MainWindow::quit(int processExitCode) {
    guarded("quit", [this] {
        using settings::MAIN_WINDOW_X;
        using settings::MAIN_WINDOW_Y;
        MAIN_WINDOW_X.setCurrent(window_->x());  // clamps
        MAIN_WINDOW_Y.setCurrent(window_->y());
        settings_.saveNumber(MAIN_WINDOW_X);
        settings_.saveNumber(MAIN_WINDOW_Y);
        keepWindowOnScreen(MAIN_WINDOW_X.defaultValue(), MAIN_WINDOW_Y.defaultValue(),
                           screenMonitors(), settings_);
        services::log(services::timeText(std::chrono::system_clock::now()));
    });
    exitCode_ = processExitCode;
    quitRequested_ = true;
}

void MainWindow::repaintBand(status::Band band) {
    if (controls_.windowThread().onWindowThread()) {
        damage(band);
    } else {
        controls_.windowThread().post([this, band] { damage(band); });
    }
}

void MainWindow::damage(status::Band band) {
    // Only this band is drawn again; the paint covers it, so nothing is erased first.
    const Rect r = bandRect(band);
    window_->damage(FL_DAMAGE_USER1, r.left, r.top, r.width(), r.height());
}

void MainWindow::setTopmost(bool topmost) {
    controls_.windowThread().post([this, topmost] {
        topmost_ = topmost;
        // The native window exists only once it is shown; run() applies the wish then.
        if (window_->shown())
            platform::keepWindowAbove(nativeDisplay(), nativeWindow(*window_), topmost_);
    });
}

void MainWindow::showWarning(std::string caption, std::string text) {
    controls_.windowThread().post([caption = std::move(caption), text = std::move(text)] {
        fl_message_title(caption.c_str());
        fl_alert("%s", text.c_str());
    });
}

}  // namespace corv::ui
