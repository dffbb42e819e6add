#include "ui/FltkControls.hpp"

#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_Item.H>

namespace corv::ui {

// A list's entries as FLTK menu items. FLTK's own add() would read '/', '&' and '_' in a text
// as menu syntax, so the items point into texts kept here.
struct FltkControls::ListMenu {
    std::vector<std::string> texts;
    std::vector<Fl_Menu_Item> items;
};

FltkControls::FltkControls() = default;

FltkControls::~FltkControls() {
    detachAll();
}

void FltkControls::setEnabled(status::ControlId id, bool enabled) {
    queue_.post([this, id, enabled] {
        Fl_Widget* widget = find(id);
        if (widget == nullptr) return;
        if (enabled) {
            widget->activate();
        } else {
            widget->deactivate();
        }
        labelsChanged();
    });
}

void FltkControls::setChecked(status::ControlId id, bool checked) {
    queue_.post([this, id, checked] {
        if (auto* box = dynamic_cast<Fl_Check_Button*>(find(id))) {
            box->value(checked ? 1 : 0);
            labelsChanged();
        }
    });
}

void FltkControls::setListEntries(status::ControlId id, std::vector<std::string> entries) {
    queue_.post([this, id, entries = std::move(entries)] { applyEntries(id, entries); });
}

void FltkControls::selectListEntry(status::ControlId id, int index) {
    queue_.post([this, id, index] {
        auto* list = dynamic_cast<Fl_Choice*>(find(id));
        if (list == nullptr) return;
        // Fl_Choice::size() counts the terminating item too.
        if (index >= 0 && index < list->size() - 1) {
            list->value(index);
        } else {
            list->value(static_cast<const Fl_Menu_Item*>(nullptr));
        }
        list->redraw();
    });
}

void FltkControls::setText(status::ControlId id, std::string text) {
    queue_.post([this, id, text = std::move(text)] {
        if (auto* box = dynamic_cast<Fl_Input_*>(find(id))) box->value(text.c_str());
    });
}

void FltkControls::attach(status::ControlId id, Fl_Widget& widget) {
    widgets_[id] = &widget;
}

void FltkControls::detachAll() {
    // The lists still point at their menus until they are gone, so the menus stay with them.
    for (const auto& [id, widget] : widgets_) {
        if (auto* list = dynamic_cast<Fl_Choice*>(widget)) list->menu(nullptr);
    }
    widgets_.clear();
    menus_.clear();
}

bool FltkControls::isEnabled(status::ControlId id) const {
    const Fl_Widget* widget = find(id);
    return widget == nullptr || widget->active();
}

void FltkControls::onLabelsChanged(std::function<void()> changed) {
    labelsChanged_ = std::move(changed);
}

Fl_Widget* FltkControls::find(status::ControlId id) const {
    const auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

void FltkControls::applyEntries(status::ControlId id, const std::vector<std::string>& entries) {
    auto* list = dynamic_cast<Fl_Choice*>(find(id));
    if (list == nullptr) return;
    auto menu = std::make_unique<ListMenu>();
    menu->texts = entries;
    menu->items.resize(entries.size() + 1);  // zeroed; the last one ends the menu
    for (std::size_t i = 0; i < entries.size(); ++i) {
        menu->items[i].text = menu->texts[i].c_str();
    }
    list->menu(menu->items.data());
    list->value(static_cast<const Fl_Menu_Item*>(nullptr));
    list->redraw();
    menus_[id] = std::move(menu);  // the old items are no longer referenced
}

void FltkControls::labelsChanged() const {
    if (labelsChanged_) labelsChanged_();
}

}  // namespace corv::ui
