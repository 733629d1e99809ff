// The framework's timer component: SetTimer on a hidden window of its own, ticking while
// it is enabled with a non-zero interval. Ticks run OnTimer under CallGuarded.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "wingui/Component.h"
#include "wingui/HiddenWindow.h"

namespace wingui {

class Timer : public Component, private MessageTarget {
 public:
  explicit Timer(Component* owner);
  ~Timer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  void Update();
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

  UINT interval_ = 1000;
  bool enabled_ = true;
  std::unique_ptr<HiddenWindow> window_;
};

}  // namespace wingui
