#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "status/ControlStates.hpp"
#include "ui/WindowThreadQueue.hpp"

class Fl_Widget;

namespace corv::ui {

// The window's controls behind the ControlStates interface. Every call, from any thread, is
// handed to the window thread and applied there in call order; a control that does not exist
// (yet) when the call is applied is left alone. Construct on the window thread, before the
// settings file that reports to it, and keep it until the loop has ended.
class FltkControls final : public status::ControlStates {
  public:
    FltkControls();
    ~FltkControls() override;

    void setEnabled(status::ControlId id, bool enabled) override;
    void setChecked(status::ControlId id, bool checked) override;
    void setListEntries(status::ControlId id, std::vector<std::string> entries) override;
    void selectListEntry(status::ControlId id, int index) override;
    void setText(status::ControlId id, std::string text) override;

    // The rest is for the window, on the window thread.
    WindowThreadQueue& windowThread() { return queue_; }
    void attach(status::ControlId id, Fl_Widget& widget);
    void detachAll();
    // An unknown control counts as enabled.
    bool isEnabled(status::ControlId id) const;
    // Called after a change that painted labels depend on (enabled, ticked).
    void onLabelsChanged(std::function<void()> changed);

  private:
    struct ListMenu;

    Fl_Widget* find(status::ControlId id) const;
    void applyEntries(status::ControlId id, const std::vector<std::string>& entries);
    void labelsChanged() const;

    WindowThreadQueue queue_;
    std::map<status::ControlId, Fl_Widget*> widgets_;
    std::map<status::ControlId, std::unique_ptr<ListMenu>> menus_;
    std::function<void()> labelsChanged_;
};

}  // namespace corv::ui
