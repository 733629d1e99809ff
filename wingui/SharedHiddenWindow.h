// A hidden window shared by every object of one kind (the timer service's timers, the tray
// components): one process-wide handler, made with its window by its first user and destroyed
// with it by its last, or at program end when users never left. The handler keeps its live
// objects by identifier, so a message naming an identifier finds its object, or nothing once
// the object is gone. A handler class derives from it and handles the window's messages, as
// every window owner does (WindowBinding.h):
//   class TimerHandler : public SharedHiddenWindow<TimerHandler, Timer> { ... HandleMessage ... };
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "wingui/HiddenWindow.h"

namespace wingui {

template <typename Handler, typename Object>
class SharedHiddenWindow : public wingui::HiddenWindow {
 public:
  SharedHiddenWindow(const SharedHiddenWindow&) = delete;
  SharedHiddenWindow& operator=(const SharedHiddenWindow&) = delete;

  // The handler, or nullptr while it has no user.
  static Handler* Shared() { return Slot().get(); }
  // One more user: makes the handler and its window when there is none.
  static void Acquire() {
    auto& slot = Slot();
    // A window that cannot be made leaves no handler behind for the next user to find.
    if (!slot) slot.reset(new Handler());
    ++slot->userCount_;
  }
  // One user fewer (never below none): the last one destroys the handler with its window.
  static void Release() {
    auto& slot = Slot();
    if (!slot) return;
    if (slot->userCount_ > 0) --slot->userCount_;
    if (slot->userCount_ == 0) slot.reset();
  }

  unsigned UserCount() const { return userCount_; }
  HWND HiddenWindow() const { return Handle(); }

  void Add(std::uintptr_t id, Object* object) { live_.emplace(id, object); }
  void Remove(std::uintptr_t id) { live_.erase(id); }
  // The live object with this identifier, or nullptr.
  Object* Find(std::uintptr_t id) const {
    const auto found = live_.find(id);
    return found == live_.end() ? nullptr : found->second;
  }

 protected:
  SharedHiddenWindow() { live_.reserve(16); }
  ~SharedHiddenWindow() = default;

 private:
  struct Deleter {
    void operator()(Handler* handler) const { delete handler; }
  };
  static std::unique_ptr<Handler, Deleter>& Slot() {
    static std::unique_ptr<Handler, Deleter> slot;
    return slot;
  }

  unsigned userCount_ = 0;
  std::unordered_map<std::uintptr_t, Object*> live_;
};

}  // namespace wingui
