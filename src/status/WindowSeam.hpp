#pragma once

#include <string>

#include "status/ControlStates.hpp"

namespace corv::status {

// The painted areas of the window; a repaint invalidates just one.
enum class Band { Status, Controls, Parking, Message };

// What the rest of the program asks of the window, from any thread. Every call only posts
// work to the window thread and returns at once.
class WindowSeam {
  public:
    virtual ~WindowSeam() = default;

    virtual void postStart() = 0;                    // start a run
    virtual void postQuit(int processExitCode) = 0;  // save the position, end the message loop
    virtual void repaintBand(Band band) = 0;
    virtual void setTopmost(bool topmost) = 0;
    // A warning box (the shell could not open something for the user); does not wait for it.
    virtual void showWarning(std::string caption, std::string text) = 0;
};

// What the window hands to the program; called on the window thread.
class WindowOwner {
  public:
    virtual ~WindowOwner() = default;

    // The start message: create the start-up thread for a new run.
    virtual void onStartMessage() = 0;
    // The window's close button (or a termination signal).
    virtual void onCloseClicked() = 0;
    // A click on a button or check box; true when handled.
    virtual bool onCommand(ControlId id) = 0;
    // A new selection in a drop-down list: its position and text.
    virtual void onListSelected(ControlId id, int index, const std::string& text) = 0;
    // The Enter key in an edit box, with the box's text.
    virtual void onEditEnter(ControlId id, const std::string& text) = 0;
};

}  // namespace corv::status
