// The framework's timer component: a thread timer (SetTimer without a window, ticks
// delivered through the message loop to one callback), running while it is enabled with a
// non-zero interval. Ticks run OnTimer under CallGuarded. No window of its own: creating a
// window costs more than everything else a timer does.
#pragma once

#include <windows.h>

#include <functional>

#include "wingui/Component.h"

namespace wingui {

class Timer : public Component {
 public:
  explicit Timer(Component* owner);
  ~Timer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
  void Stop();
  void Update();

  UINT interval_ = 1000;
  bool enabled_ = true;
  UINT_PTR id_ = 0;  // the system's identifier while running
};

}  // namespace wingui
