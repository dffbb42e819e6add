#pragma once

#include <algorithm>
#include <atomic>
#include <concepts>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "status/ControlStates.hpp"

namespace corv::settings {

template <typename T>
concept ParameterValue = std::same_as<T, bool> || std::same_as<T, std::int32_t> ||
    std::same_as<T, float> || std::same_as<T, std::string>;

template <typename T>
concept NumberValue = std::same_as<T, std::int32_t> || std::same_as<T, float>;

namespace detail {
// Parameters are read by every thread and changed by the window and start-up threads; the
// value cell makes those accesses safe without callers taking any lock.
template <typename T>
class ValueCell {
  public:
    explicit ValueCell(T value) : value_(value) {}
    T load() const { return value_.load(std::memory_order_relaxed); }
    void store(T value) { value_.store(value, std::memory_order_relaxed); }

  private:
    std::atomic<T> value_;
};

template <>
class ValueCell<std::string> {
  public:
    explicit ValueCell(std::string value) : value_(std::move(value)) {}
    std::string load() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void store(std::string value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }

  private:
    mutable std::mutex mutex_;
    std::string value_;
};
}  // namespace detail

// One named, typed setting. Parameters live for the whole process and are never copied.
template <ParameterValue T>
class Parameter {
  public:
    using ValueType = T;

    Parameter(std::string_view name, T defaultValue) requires(!NumberValue<T>)
        : name_(name),
          default_(defaultValue),
          minimum_(defaultValue),
          maximum_(defaultValue),
          current_(defaultValue) {}

    Parameter(std::string_view name, T defaultValue, T minimum, T maximum) requires NumberValue<T>
        : name_(name),
          default_(defaultValue),
          minimum_(minimum),
          maximum_(maximum),
          current_(defaultValue) {}

    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;
    virtual ~Parameter() = default;

    const std::string& name() const noexcept { return name_; }
    T defaultValue() const { return default_.load(); }
    T minimum() const noexcept { return minimum_; }
    T maximum() const noexcept { return maximum_; }
    T value() const { return current_.load(); }

    // Numbers are clamped to [minimum, maximum].
    void setCurrent(T value) { current_.store(clamp(std::move(value))); }
    void setDefault(T value) { default_.store(std::move(value)); }

    T clamp(T value) const {
        if constexpr (NumberValue<T>) {
            return std::clamp(value, minimum_, maximum_);
        } else {
            return value;
        }
    }

    // Shows the current value in the parameter's control; nothing for hidden kinds.
    virtual void showCurrent(status::ControlStates&) const {}

  private:
    std::string name_;
    detail::ValueCell<T> default_;
    T minimum_;
    T maximum_;
    detail::ValueCell<T> current_;
};

// Where a parameter's control sits in the window and what is painted beside it.
struct ControlBinding {
    status::ControlId controlId;
    int y;
    std::string_view label;
};

class HiddenFlag final : public Parameter<bool> {
  public:
    using Parameter::Parameter;
};

class CheckBox final : public Parameter<bool>, public ControlBinding {
  public:
    CheckBox(std::string_view name, bool defaultValue, ControlBinding binding)
        : Parameter(name, defaultValue), ControlBinding(binding) {}
    void showCurrent(status::ControlStates& controls) const override {
        controls.setChecked(controlId, value());
    }
};

class HiddenNumber final : public Parameter<std::int32_t> {
  public:
    using Parameter::Parameter;
};

// A drop-down list of allowed values; the first and last choices are the bounds. A value read
// from a file is only clamped, so it may lie between two choices and select nothing.
template <NumberValue T>
class ChoiceList final : public Parameter<T>, public ControlBinding {
  public:
    ChoiceList(std::string_view name, T defaultValue, std::vector<T> choices,
               ControlBinding binding)
        : Parameter<T>(name, defaultValue, choices.front(), choices.back()),
          ControlBinding(binding),
          choices_(std::move(choices)) {}

    const std::vector<T>& choices() const noexcept { return choices_; }

    // Index of the current value among the choices, -1 when it is none of them.
    int currentIndex() const { return indexOf(this->value()); }
    int indexOf(T value) const {
        const auto found = std::find(choices_.begin(), choices_.end(), value);
        return found == choices_.end() ? -1 : static_cast<int>(found - choices_.begin());
    }

    void showCurrent(status::ControlStates& controls) const override {
        controls.selectListEntry(controlId, currentIndex());
    }

  private:
    std::vector<T> choices_;
};

class HiddenText final : public Parameter<std::string> {
  public:
    using Parameter::Parameter;
};

class TextBox final : public Parameter<std::string>, public ControlBinding {
  public:
    TextBox(std::string_view name, std::string defaultValue, ControlBinding binding)
        : Parameter(name, std::move(defaultValue)), ControlBinding(binding) {}
    void showCurrent(status::ControlStates& controls) const override {
        controls.setText(controlId, value());
    }
};

}  // namespace corv::settings

namespace corv::settings {

// The live callsigns with their simulator object ids, offered in a drop-down list; the
// current value is the selected callsign.
class CallsignList final : public Parameter<std::string>, public ControlBinding {
  public:
    using Entries = std::map<std::string, std::uint32_t>;

    CallsignList(std::string_view name, ControlBinding binding)
        : Parameter(name, std::string()), ControlBinding(binding) {}

    Entries entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    void setEntries(Entries entries) {
        std::lock_guard lock(mutex_);
        entries_ = std::move(entries);
    }

  private:
    mutable std::mutex mutex_;
    Entries entries_;
};

}  // namespace corv::settings
